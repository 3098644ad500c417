// The extension rule of saved files and the folder operations.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_names.h"
#include "platform/io_error.h"
#include "support/temp_folder.h"

using platform::ReplaceExtension;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

TEST(ReplaceExtension, ReplacesFromTheLastFullStopOfTheName) {
    const QString ank = QStringLiteral(".ank");
    EXPECT_EQ(ReplaceExtension(QStringLiteral("survey"), ank), QStringLiteral("survey.ank"));
    EXPECT_EQ(ReplaceExtension(QStringLiteral("survey.txt"), ank), QStringLiteral("survey.ank"));
    EXPECT_EQ(ReplaceExtension(QStringLiteral("a.b.c"), ank), QStringLiteral("a.b.ank"));
    EXPECT_EQ(ReplaceExtension(QStringLiteral("survey."), ank), QStringLiteral("survey.ank"));
    // A full stop in a folder name does not count, whichever separator stands after it.
    EXPECT_EQ(ReplaceExtension(QStringLiteral("/home/x.y/survey"), ank), QStringLiteral("/home/x.y/survey.ank"));
    EXPECT_EQ(ReplaceExtension(QStringLiteral("c:\\dane.2001\\wyniki"), QStringLiteral(".wyn")),
              QStringLiteral("c:\\dane.2001\\wyniki.wyn"));
    EXPECT_EQ(ReplaceExtension(QStringLiteral("d.x:plik"), QStringLiteral(".bmp")), QStringLiteral("d.x:plik.bmp"));
    EXPECT_EQ(ReplaceExtension(QStringLiteral("/tmp/wykres.txt"), QStringLiteral(".bmp")),
              QStringLiteral("/tmp/wykres.bmp"));
}

TEST(HasExtension, IsTheExtensionOfTheNameInAnyLetterCase) {
    const QString wyn = QStringLiteral(".wyn");
    for (const char* name : {"klasa.wyn", "KLASA.WYN", "/a.b/klasa.Wyn"}) {
        EXPECT_TRUE(platform::HasExtension(QString::fromUtf8(name), wyn)) << name;
    }
    for (const char* name : {"klasa", "klasa.wyn.txt", "klasa.wynik", "/x.wyn/klasa", "klasawyn"}) {
        EXPECT_FALSE(platform::HasExtension(QString::fromUtf8(name), wyn)) << name;
    }
}

TEST(FileNamePart, IsWhatFollowsTheLastSeparator) {
    EXPECT_EQ(platform::FileNamePart(QStringLiteral("c:\\ankiety\\klasa1.wyn")), QStringLiteral("klasa1.wyn"));
    EXPECT_EQ(platform::FileNamePart(QStringLiteral("/home/u/klasa1.wyn")), QStringLiteral("klasa1.wyn"));
    EXPECT_EQ(platform::FileNamePart(QStringLiteral("a:b")), QStringLiteral("b"));
    EXPECT_EQ(platform::FileNamePart(QByteArray("c:\\x\\Ankieta \xB9")), QByteArray("Ankieta \xB9"));
    EXPECT_EQ(platform::FileNamePart(QByteArray("plain")), QByteArray("plain"));
}

TEST(FileOperations, ExistsDeleteAndRenameOntoAnExistingName) {
    TempFolder folder;
    const QString a = folder.File("a");
    const QString b = folder.File("b");
    EXPECT_FALSE(platform::FileExists(a));
    EXPECT_FALSE(platform::DeleteFile(a));
    WriteBytes(a, "first");
    WriteBytes(b, "second");
    EXPECT_TRUE(platform::FileExists(a));
    EXPECT_FALSE(platform::FileExists(folder.path()));  // a folder is not a file
    EXPECT_TRUE(platform::RenameFile(a, b));
    EXPECT_FALSE(platform::FileExists(a));
    EXPECT_EQ(ReadBytes(b), QByteArray("first"));
    EXPECT_FALSE(platform::RenameFile(a, b));  // nothing to rename
    EXPECT_TRUE(platform::DeleteFile(b));
    EXPECT_FALSE(platform::FileExists(b));
}

TEST(FileOperations, ALinkIsDeletedByItsOwnNameAndAFailureCarriesTheSystemsReason) {
    TempFolder folder;
    const QString link = folder.File("wyn1");
    ASSERT_TRUE(QFile::link(folder.File("nowhere"), link));  // dangling
    EXPECT_TRUE(platform::DeleteFile(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    const auto reason = [](const QString& path) -> std::string {
        try {
            platform::RemoveFile(path);
        } catch (const platform::IoError& error) {
            return error.what();
        }
        return "deleted";
    };
    EXPECT_EQ(reason(folder.File("gone.wyn")), "File not found");
    EXPECT_EQ(reason(folder.File("gone/x.wyn")), "File not found");
    EXPECT_EQ(reason(folder.path()), "File access denied");
}

TEST(ListFolder, MatchesThePatternWithoutRegardToLetterCaseAndStaysInTheFolder) {
    TempFolder folder;
    WriteBytes(folder.File("one.wyn"), "x");
    WriteBytes(folder.File("TWO.WYN"), "x");
    WriteBytes(folder.File("three.Wyn"), "x");
    WriteBytes(folder.File("other.txt"), "x");
    WriteBytes(folder.File("wyn"), "x");
    QDir(folder.path()).mkdir(QStringLiteral("folder.wyn"));
    QDir(folder.path()).mkdir(QStringLiteral("sub"));
    WriteBytes(folder.File("sub/inner.wyn"), "x");
    EXPECT_EQ(platform::ListFolder(folder.path(), QStringLiteral("*.WYN")),
              (QList<QByteArray>{"TWO.WYN", "folder.wyn", "one.wyn", "three.Wyn"}));
}

TEST(WorkFilesDirectory, IsAFolderOfTheProgramsOwnReadableByItsOwnerOnly) {
    QStandardPaths::setTestModeEnabled(true);
    const QString folder = platform::WorkFilesDirectory();
    QStandardPaths::setTestModeEnabled(false);
    const QFileInfo info(folder);
    EXPECT_TRUE(info.isDir());
    EXPECT_TRUE(folder.endsWith(QStringLiteral("/narzedzia")));
    EXPECT_FALSE(folder.startsWith(QStringLiteral("/tmp")));
    EXPECT_EQ(info.permissions() & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                    QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther),
              QFileDevice::Permissions());
    QDir(folder).removeRecursively();
}

TEST(WorkFilesDirectory, IsRefusedUnlessARealFolderOfTheUserClosedToOthers) {
    TempFolder folder;
    const QString own = folder.File("own");
    ASSERT_EQ(::mkdir(QFile::encodeName(own).constData(), 0700), 0);
    EXPECT_EQ(platform::WorkFolderProblem(own), QString());

    const QString open = folder.File("open");
    ASSERT_EQ(::mkdir(QFile::encodeName(open).constData(), 0700), 0);
    ::chmod(QFile::encodeName(open).constData(), 0755);
    const QString link = folder.File("link");
    ASSERT_TRUE(QFile::link(own, link));
    QStringList refused{open, link, folder.File("missing")};
    if (::geteuid() == 0) {  // only root can give a folder away
        const QString foreign = folder.File("foreign");
        ASSERT_EQ(::mkdir(QFile::encodeName(foreign).constData(), 0700), 0);
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
        refused << foreign;
    }
    for (const QString& path : refused) {
        EXPECT_TRUE(platform::WorkFolderProblem(path).contains(path)) << path.toStdString();
    }
}

TEST(JoinPath, PutsOneSeparatorBetween) {
    EXPECT_EQ(platform::JoinPath(QStringLiteral("/a"), QStringLiteral("b")), QStringLiteral("/a/b"));
    EXPECT_EQ(platform::JoinPath(QStringLiteral("/"), QStringLiteral("b")), QStringLiteral("/b"));
}
