// Reading and writing text lines: line ends, the end-of-file byte, lenient numbers, and every
// failure reported as the runtime's error.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/io_error.h"
#include "platform/text_file.h"
#include "support/temp_folder.h"

using platform::IoError;
using platform::ParseNumber;
using platform::TextFileReader;
using platform::TextFileWriter;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

namespace {

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const IoError& error) {
        return error.what();
    }
    return "no error";
}

QList<QByteArray> ReadAll(const QString& path, int lines) {
    TextFileReader reader(path);
    QList<QByteArray> read;
    for (int i = 0; i < lines; ++i) read.append(reader.ReadLine());
    reader.Close();
    return read;
}

}  // namespace

TEST(TextFileReader, LinesEndAtCarriageReturnAndSkipOneLineFeed) {
    TempFolder folder;
    const QString path = folder.File("lines.txt");
    WriteBytes(path, QByteArray("one\r\ntwo\rthree\r\n\r\nfive\nstill five\r\n\n"));
    const QList<QByteArray> lines = ReadAll(path, 6);
    EXPECT_EQ(lines[0], "one");
    EXPECT_EQ(lines[1], "two");  // a lone carriage return ends a line too
    EXPECT_EQ(lines[2], "three");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "five\nstill five");  // a line feed alone does not end a line
    EXPECT_EQ(lines[5], "\n");                // only one line feed after CR is skipped
}

TEST(TextFileReader, ReadingPastTheEndGivesEmptyLines) {
    TempFolder folder;
    const QString path = folder.File("short.txt");
    WriteBytes(path, QByteArray("last line without end"));
    TextFileReader reader(path);
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), "last line without end");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_EQ(reader.ReadNumber(), 0);
}

TEST(TextFileReader, ByteOneAEndsTheFile) {
    TempFolder folder;
    const QString path = folder.File("cut.txt");
    WriteBytes(path, QByteArray("before\r\nhalf\x1A" "after\r\nmore\r\n"));
    TextFileReader reader(path);
    EXPECT_EQ(reader.ReadLine(), "before");
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), "half");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), "");
}

TEST(TextFileReader, EightBitBytesArriveUnchanged) {
    TempFolder folder;
    const QString path = folder.File("polish.txt");
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != 0x1A) all.append(static_cast<char>(b));
    }
    WriteBytes(path, all + "\r\n");
    EXPECT_EQ(ReadAll(path, 1)[0], all);
}

TEST(TextFileReader, LinesAcrossReadBlocksArriveWhole) {
    // Files are read ahead in blocks. Empty lines after an odd start put a carriage return at
    // every odd offset, so one of them ends any block of even size with its line feed in the
    // next; long lines, lone line feeds and a lone carriage return follow, then a byte 1A.
    TempFolder folder;
    const QString path = folder.File("long.txt");
    QByteArray bytes = "a";
    QList<QByteArray> expected{"a"};
    for (int n = 0; n < 70000; ++n) {
        bytes += "\r\n";
        expected.append("");
    }
    for (int n = 1; n < 100; ++n) {
        QByteArray line = QByteArray::number(n) + QByteArray(n * 37 % 5000, char('a' + n % 26));
        if (n % 7 == 0) line += "\nbez ko\xF1" "ca";
        bytes += (n % 3 ? "\r\n" : "\r") + line;
        expected.append(line);
    }
    bytes += "\r\nostatnia\x1A" "po ko\xF1" "cu\r\n";
    expected.append("ostatnia");
    WriteBytes(path, bytes);
    TextFileReader reader(path);
    for (const QByteArray& line : expected) ASSERT_EQ(reader.ReadLine(), line);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadLine(), "");
}

TEST(ParseNumber, IsLenient) {
    EXPECT_EQ(ParseNumber("12"), 12);
    EXPECT_EQ(ParseNumber(" 12"), 12);
    EXPECT_EQ(ParseNumber("  +7"), 7);
    EXPECT_EQ(ParseNumber("-3"), -3);
    EXPECT_EQ(ParseNumber("42abc"), 42);
    EXPECT_EQ(ParseNumber("4 2"), 4);
    EXPECT_EQ(ParseNumber("abc"), 0);
    EXPECT_EQ(ParseNumber(""), 0);
    EXPECT_EQ(ParseNumber("-"), 0);
    EXPECT_EQ(ParseNumber("99999999999999999999999"), LLONG_MAX);  // never wraps to a small value
}

TEST(TextFileWriter, WritesLinesWithCarriageReturnAndLineFeed) {
    TempFolder folder;
    const QString path = folder.File("out.txt");
    WriteBytes(path, QByteArray("old contents that are longer than the new ones\r\n"));
    TextFileWriter writer(path);
    writer.WriteLine("RESULTS");
    writer.WriteLine("");
    writer.WriteNumber(65535);
    writer.WriteLine("\xB9\xE6");
    writer.Close();
    EXPECT_EQ(ReadBytes(path), QByteArray("RESULTS\r\n\r\n65535\r\n\xB9\xE6\r\n"));
}

TEST(TextFileErrors, OpeningAndCreatingFailuresAreTheRuntimesErrors) {
    TempFolder folder;
    EXPECT_EQ(ErrorOf([&] { TextFileReader reader(folder.File("missing")); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { TextFileReader reader(folder.path()); }), "File access denied");
    EXPECT_EQ(ErrorOf([&] { TextFileWriter writer(folder.path()); }), "File access denied");
    EXPECT_EQ(ErrorOf([&] { TextFileWriter writer(folder.File("no/such/folder/file")); }),
              "File not found");
    WriteBytes(folder.File("plain"), "x");
    EXPECT_EQ(ErrorOf([&] { TextFileWriter writer(folder.File("plain/inside")); }),
              "Invalid filename");
    EXPECT_EQ(ErrorOf([&] { TextFileReader reader{QString()}; }), "File not found");
}

TEST(TextFileErrors, AFullDiskIsReportedWhenTheFileIsClosed) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full here";
    EXPECT_EQ(ErrorOf([] {
                  TextFileWriter writer(QStringLiteral("/dev/full"));
                  writer.WriteLine("a line that cannot be stored");
                  writer.Close();
              }),
              "Disk full");
}

TEST(TextFileErrors, AReadOnlyFolderDeniesAccess) {
    TempFolder folder;
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    {
        const testing_support::PermissionsBinding binding;
        EXPECT_EQ(ErrorOf([&] { TextFileWriter writer(folder.File("new")); }),
                  "File access denied");
    }
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
}

// The saved files' writer and the work files' writer replace a file the same way.
using ReplacingWriter = void (*)(const QString&, const std::function<void(TextFileWriter&)>&);
const ReplacingWriter kReplacingWriters[] = {&platform::WriteFileReplacing, &platform::WriteScratchFile};

TEST(WriteFileReplacing, PutsTheNewFileInPlaceOfTheOldAndAFailureHalfWayKeepsTheOld) {
    for (const ReplacingWriter writeReplacing : kReplacingWriters) {
        TempFolder folder;
        const QString path = folder.File("survey.ank");
        WriteBytes(path, "old\r\n");
        EXPECT_THROW(writeReplacing(path,
                                    [](TextFileWriter& file) {
                                        file.WriteLine("half");
                                        throw IoError(IoError::DiskFull);
                                    }),
                     IoError);
        EXPECT_EQ(ReadBytes(path), QByteArray("old\r\n"));
        writeReplacing(path, [](TextFileWriter& file) {
            file.WriteLine("TARVO");
            file.WriteNumber(1);
        });
        EXPECT_EQ(ReadBytes(path), QByteArray("TARVO\r\n1\r\n"));
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("survey.ank")});
    }
}

TEST(WriteFileReplacing, ReportsAFolderThatCannotTakeTheFile) {
    for (const ReplacingWriter writeReplacing : kReplacingWriters) {
        TempFolder folder;
        EXPECT_EQ(ErrorOf([&] { writeReplacing(folder.File("missing/x.wyn"), [](TextFileWriter&) {}); }),
                  "File not found");
        EXPECT_EQ(ErrorOf([&] { writeReplacing(folder.path(), [](TextFileWriter&) {}); }),
                  "File access denied");
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }
}

TEST(WriteFileReplacing, ASaveKilledHalfWayLeavesTheOldFileAndNothingBesideIt) {
    TempFolder folder;
    const QString path = folder.File("survey.ank");
    WriteBytes(path, "old\r\n");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::WriteFileReplacing(path, [&](TextFileWriter& file) {
            for (int i = 0; i < 100000; ++i) file.WriteLine(QByteArray(100, 'x'));
            (void)!::write(ready[1], "w", 1);
            ::pause();
        });
        ::_exit(0);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(ReadBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("survey.ank")});
}

TEST(WriteFileReplacing, KeepsThePermissionsAndTakesNamesUpToTheSystemsLimit) {
    TempFolder folder;
    const QString longest = folder.File(QString(250, u'n') + QStringLiteral(".ank"));  // 254 bytes
    for (const QString& path : {folder.File("private.wyn"), longest}) {
        WriteBytes(path, "old\r\n");
        ::chmod(QFile::encodeName(path).constData(), 0600);
        platform::WriteFileReplacing(path, [](TextFileWriter& file) { file.WriteLine("new"); });
        EXPECT_EQ(ReadBytes(path), QByteArray("new\r\n"));
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(WriteFileReplacing, TheNextSaveRemovesWhatAKilledSaveOfTheSameFileLeftAndNothingElse) {
    TempFolder folder;
    const QStringList lookAlikes = {QStringLiteral(".other.ank.narzedzia-zapis"),
                                    QStringLiteral("survey.ank.narzedzia-zapis"),
                                    QStringLiteral(".survey.ank.narzedzia-zapis~"),
                                    QStringLiteral(".narzedzia-zapis-0123456789abcdef")};
    for (const QString& name : lookAlikes) WriteBytes(folder.File(name), "not ours\r\n");
    const QString longest = QString(250, u'n') + QStringLiteral(".ank");  // 254 bytes
    for (const QString& name : {QStringLiteral("survey.ank"), longest}) {
        const QString path = folder.File(name);
        WriteBytes(path, "old\r\n");
        // What a save killed between naming its new file and the rename leaves: one hidden file.
        const QString staging = QFile::decodeName(platform::SaveStagingName(path).native());
        EXPECT_EQ(QFileInfo(staging).path(), folder.path());
        EXPECT_TRUE(QFileInfo(staging).fileName().startsWith(u'.'));
        WriteBytes(staging, "cut short\r\n");
        platform::WriteFileReplacing(path, [](TextFileWriter& file) { file.WriteLine("new"); });
        EXPECT_EQ(ReadBytes(path), QByteArray("new\r\n"));
        EXPECT_FALSE(QFile::exists(staging));
    }
    for (const QString& name : lookAlikes) {
        EXPECT_TRUE(QFile::exists(folder.File(name))) << name.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(),
              lookAlikes.size() + 2);
}

TEST(WriteFileReplacing, AWorkFileReplacesALinkOfItsNameInsteadOfFollowingIt) {
    TempFolder folder;
    const QString link = folder.File("wyn1");
    ASSERT_TRUE(QFile::link(folder.File("elsewhere"), link));
    platform::WriteScratchFile(link, [](TextFileWriter& file) { file.WriteLine("q"); });
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(link), QByteArray("q\r\n"));
    EXPECT_FALSE(QFile::exists(folder.File("elsewhere")));
}

TEST(TextFileReader, OpensOnlyPlainFilesOfAnyLegalSizeAndNeverWaits) {
    TempFolder folder;
    const QString pipe = folder.File("pipe.wyn");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString device = folder.File("zero.wyn");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
    const QString plain = folder.File("plain.wyn");
    WriteBytes(plain, "RESULTS\r\n");
    const QString link = folder.File("link.wyn");
    ASSERT_TRUE(QFile::link(plain, link));
    const QString huge = folder.File("huge.wyn");
    WriteBytes(huge, "");
    ASSERT_EQ(::truncate(QFile::encodeName(huge).constData(), platform::kLargestTextFile + 1), 0);

    EXPECT_EQ(ErrorOf([&] { TextFileReader reader(pipe); }), "File access denied");
    EXPECT_EQ(ErrorOf([&] { TextFileReader reader(device); }), "File access denied");
    EXPECT_EQ(ErrorOf([&] { TextFileReader reader(link, platform::Links::NotFollowed); }),
              "File access denied");
    EXPECT_EQ(ErrorOf([&] { TextFileReader reader(huge); }),
              IoError::MessageFor(IoError::FileTooLarge));
    EXPECT_EQ(ReadAll(link, 1)[0], "RESULTS");  // a file the user names may be a link
}
