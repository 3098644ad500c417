// Text files of 8-bit lines: CR LF line ends, byte 1A as the end of the file, lenient numbers.
// Every open, create, read, write and close is checked and throws IoError on failure.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <functional>
#include <memory>

#include "platform/file_names.h"

namespace platform {

// No text file of the program comes near this size; a larger one is refused before reading.
constexpr long long kLargestTextFile = 64LL * 1024 * 1024;

// Whether a link at the file's name is followed (files the user names) or not (the program's
// own work files, which are never anything but plain files).
enum class Links { Followed, NotFollowed };

// A number line read leniently: leading blanks skipped, an optional sign, the leading digits;
// anything else gives 0. Values too large for 64 bits saturate, so that range checks still see
// them as too large. The caller stores the value in the width of its field.
long long ParseNumber(const QByteArray& line);

class TextFileReader {
public:
    // Opens a plain file only: a folder, pipe or device is "File access denied" at once (never
    // waited on), and so is a link when links are not followed; a file larger than
    // kLargestTextFile is refused as FileTooLarge.
    explicit TextFileReader(const FilePath& path, Links links = Links::Followed);
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // The next line, up to its carriage return; one line feed after it is skipped.
    // Past the end of the file (or past a byte 1A) every line is empty. With `limit`, reading
    // stops after that many bytes of the line (enough to tell a first line apart).
    QByteArray ReadLine(qsizetype limit = -1);
    long long ReadNumber() { return ParseNumber(ReadLine()); }
    // True when no byte is left before the end of the file or a byte 1A.
    bool AtEnd();
    void Close();

private:
    // Reads the next block of the file when the buffer is used up; false at the end of the file.
    bool Fill();
    int Peek();

    std::FILE* file_ = nullptr;
    bool ended_ = false;
    // The file is read in blocks; bytes next_ to end_ of the buffer are not handed out yet.
    std::unique_ptr<char[]> buffer_;
    std::size_t next_ = 0;
    std::size_t end_ = 0;
};

class TextFileWriter {
public:
    // Creates the file, replacing the contents of an existing one.
    explicit TextFileWriter(const QString& path);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void WriteLine(const QByteArray& line);  // the line and CR LF
    void WriteNumber(long long value);       // plain decimal and CR LF
    void WriteBytes(const QByteArray& bytes);  // the bytes as they are (a picture's contents)
    void Close();

private:
    friend void WriteThrough(int, const std::function<void(TextFileWriter&)>&);
    TextFileWriter(std::FILE* file) : file_(file) {}
    void Write(const char* data, std::size_t size);

    std::FILE* file_ = nullptr;
};

// Writes a file completely as an unnamed file in the same folder, syncs it to the disk and only
// then puts it in place, then syncs the folder. A new file is named at once; an existing one is
// replaced by a rename from its one staging name, ".NAME.narzedzia-zapis" beside it (for a name
// too long for that, ".narzedzia-zapis-" and a hash of the name). A failure leaves the old file
// as it was and nothing beside it; a program killed between naming and renaming may leave that
// one staging file, which the next save of the same target removes. The new file keeps the
// permissions of the one it replaces; a file that may not be written is refused, and a link of
// that name is saved through, where it leads.
void WriteFileReplacing(const QString& path, const std::function<void(TextFileWriter&)>& write);
// The staging name of a save of `path`, beside the file a link of that name leads to.
FilePath SaveStagingName(const FilePath& path);
// A work file the program rewrites at every step: written whole under a new name beside it and
// renamed over it, without waiting for the disk. A failure leaves the old file; a killed program
// may leave a hidden file matching kScratchLeftovers beside it. A link of that name is replaced
// by the file, never followed.
void WriteScratchFile(const QString& path, const std::function<void(TextFileWriter&)>& write);
inline const QString kScratchLeftovers = QStringLiteral(".narzedzia-scratch-*");

}  // namespace platform
