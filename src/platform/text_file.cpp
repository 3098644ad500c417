// Text files of 8-bit lines with checked input and output.
#include "platform/text_file.h"

#include <QCryptographicHash>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/io_error.h"

namespace platform {
namespace {

constexpr int kEndOfFileByte = 0x1A;
constexpr std::size_t kReadAhead = 64 * 1024;

[[noreturn]] void ThrowErrno() { throw IoError::FromErrno(errno ? errno : EIO); }

std::string NativeName(const FilePath& path) {
    const QByteArray& name = path.native();
    if (name.isEmpty()) throw IoError(IoError::FileNotFound);
    return std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

// The folder part of a name, with its slash ("" for a name in the current folder).
std::string FolderPrefix(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

// Makes a new name in a folder last across a power cut. The file is in place already, so a
// folder that cannot be synced (some file systems refuse) is no failure of the save.
void SyncFolder(const std::string& name) {
    const std::string folder = FolderPrefix(name);
    const int descriptor =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

// A file the user names is saved where a link of that name leads, through every link on the way,
// so that the link stays; a name that is no link (or a loop of links) is saved as it is.
std::string FollowLinks(const std::string& name) {
    std::string current = name;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) == target.size()) return current;
        target.resize(static_cast<std::size_t>(length));
        current = target.front() == '/' ? target : FolderPrefix(current) + target;
    }
    return name;
}

// The one hidden name beside a target under which its new contents wait for the rename that puts
// them in place: ".NAME.narzedzia-zapis", or for a name too long for that, the mark and a hash of
// the name. Being fixed for each target, a copy a killed save left there is found and removed by
// the next save of that target.
constexpr char kStagingMark[] = ".narzedzia-zapis";

std::string StagingName(const std::string& name) {
    const std::string folder = FolderPrefix(name);
    const std::string base = name.substr(folder.size());
    std::string staging = "." + base + kStagingMark;
    if (staging.size() > NAME_MAX) {
        const QByteArray hash =
            QCryptographicHash::hash(QByteArray::fromStdString(base), QCryptographicHash::Sha1);
        staging = std::string(kStagingMark) + "-" + hash.toHex().left(16).toStdString();
    }
    return folder + staging;
}

// Removes what a killed save of this target left under its staging name. The program only ever
// makes a plain file there; anything else of that name is not its own and stays.
void RemoveLeftover(const std::string& staging) {
    struct stat info {};
    if (::lstat(staging.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::unlink(staging.c_str());
}

// A new file without a name in the folder, given one only once it is complete; -1 where the file
// system (or a missing /proc to name it through) does not allow that.
int OpenUnnamedFile(const std::string& name, mode_t mode) {
    if (::access("/proc/self/fd", X_OK) != 0) return -1;
    const std::string folder = FolderPrefix(name);
    return ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

// Gives the unnamed file a name; false (with errno) when that name is taken or cannot be made.
bool NameUnnamedFile(int descriptor, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

}  // namespace

long long ParseNumber(const QByteArray& line) {
    const char* c = line.constData();
    const char* const end = c + line.size();
    while (c != end && (*c == ' ' || *c == '\t')) ++c;
    bool negative = false;
    if (c != end && (*c == '+' || *c == '-')) {
        negative = *c == '-';
        ++c;
    }
    long long value = 0;
    for (; c != end && *c >= '0' && *c <= '9'; ++c) {
        const int digit = *c - '0';
        if (value > (LLONG_MAX - digit) / 10) {
            value = LLONG_MAX;
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

TextFileReader::TextFileReader(const FilePath& path, Links links) {
    const std::string name = NativeName(path);
    // Without blocking, so that a pipe waits for no writer; judged by what was opened.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::NotFollowed ? O_NOFOLLOW : 0);
    const int descriptor = ::open(name.c_str(), flags);
    if (descriptor < 0) {
        throw IoError::FromErrno(errno == ELOOP && links == Links::NotFollowed ? EACCES : errno);
    }
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestTextFile) {
        const bool tooLarge = S_ISREG(info.st_mode) && info.st_size > kLargestTextFile;
        ::close(descriptor);
        if (tooLarge) throw IoError(IoError::FileTooLarge);
        throw IoError(IoError::FileAccessDenied);
    }
    file_ = ::fdopen(descriptor, "rb");
    if (!file_) {
        const int error = errno;
        ::close(descriptor);
        throw IoError::FromErrno(error);
    }
}

TextFileReader::~TextFileReader() {
    if (file_) std::fclose(file_);
}

bool TextFileReader::Fill() {
    if (ended_) return false;
    if (next_ < end_) return true;
    if (!buffer_) {
        // The reader keeps its own buffer, so the stream is read straight into it.
        std::setvbuf(file_, nullptr, _IONBF, 0);
        buffer_.reset(new char[kReadAhead]);
    }
    errno = 0;
    const std::size_t read = std::fread(buffer_.get(), 1, kReadAhead, file_);
    if (read == 0) {
        if (std::ferror(file_)) ThrowErrno();
        ended_ = true;
        return false;
    }
    next_ = 0;
    end_ = read;
    return true;
}

int TextFileReader::Peek() {
    if (!Fill()) return EOF;
    const auto c = static_cast<unsigned char>(buffer_[next_]);
    if (c == kEndOfFileByte) {
        ended_ = true;
        return EOF;
    }
    return c;
}

bool TextFileReader::AtEnd() {
    if (!file_) throw IoError(103);  // "File not open"
    return Peek() == EOF;
}

QByteArray TextFileReader::ReadLine(qsizetype limit) {
    if (!file_) throw IoError(103);
    QByteArray line;
    while (line.size() != limit && Fill()) {
        // The line's bytes up to a carriage return, a byte 1A, the limit or the end of the buffer.
        const char* const begin = buffer_.get() + next_;
        const char* end = buffer_.get() + end_;
        if (limit >= 0) end = std::min(end, begin + (limit - line.size()));
        const char* stop = static_cast<const char*>(std::memchr(begin, '\r', end - begin));
        if (!stop) stop = end;
        if (const void* cut = std::memchr(begin, kEndOfFileByte, stop - begin)) {
            stop = static_cast<const char*>(cut);
        }
        // Most lines lie whole in the buffer: one allocation of their exact size.
        if (line.isEmpty()) {
            if (stop != begin) line = QByteArray(begin, stop - begin);
        } else {
            // A line of many blocks grows by doubling, so that it is copied a bounded number of
            // times however long it is.
            if (line.capacity() - line.size() < stop - begin) {
                line.reserve(2 * (line.size() + (stop - begin)));
            }
            line.append(begin, stop - begin);
        }
        next_ = static_cast<std::size_t>(stop - buffer_.get());
        if (stop == end) continue;
        if (*stop == kEndOfFileByte) {
            ended_ = true;
            break;
        }
        ++next_;
        if (Peek() == '\n') ++next_;
        break;
    }
    return line;
}

void TextFileReader::Close() {
    if (!file_) return;
    std::FILE* file = file_;
    file_ = nullptr;
    errno = 0;
    if (std::fclose(file) != 0) ThrowErrno();
}

TextFileWriter::TextFileWriter(const QString& path) {
    const std::string name = NativeName(path);
    struct stat info {};
    if (::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) throw IoError::FromErrno(EISDIR);
    errno = 0;
    file_ = std::fopen(name.c_str(), "wb");
    if (!file_) ThrowErrno();
}

TextFileWriter::~TextFileWriter() {
    if (file_) std::fclose(file_);
}

void TextFileWriter::Write(const char* data, std::size_t size) {
    if (!file_) throw IoError(103);
    errno = 0;
    if (size > 0 && std::fwrite(data, 1, size, file_) != size) ThrowErrno();
}

void TextFileWriter::WriteLine(const QByteArray& line) {
    Write(line.constData(), static_cast<std::size_t>(line.size()));
    Write("\r\n", 2);
}

void TextFileWriter::WriteNumber(long long value) { WriteLine(QByteArray::number(value)); }

void TextFileWriter::WriteBytes(const QByteArray& bytes) {
    Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void TextFileWriter::Close() {
    if (!file_) return;
    std::FILE* file = file_;
    file_ = nullptr;
    errno = 0;
    const bool flushed = std::fflush(file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!flushed) throw IoError::FromErrno(flushError ? flushError : EIO);
    if (!closed) ThrowErrno();
}

// Writes the file's contents through a stream of its own on a copy of the descriptor, so that
// every write failure keeps the system's error.
void WriteThrough(int fileDescriptor, const std::function<void(TextFileWriter&)>& write) {
    const int descriptor = ::dup(fileDescriptor);
    std::FILE* stream = descriptor < 0 ? nullptr : ::fdopen(descriptor, "wb");
    if (!stream) {
        const int error = errno;
        if (descriptor >= 0) ::close(descriptor);
        throw IoError::FromErrno(error);
    }
    TextFileWriter writer(stream);
    write(writer);
    writer.Close();
}

void WriteFileReplacing(const QString& path, const std::function<void(TextFileWriter&)>& write) {
    const std::string name = FollowLinks(NativeName(path));
    struct stat info {};
    const bool exists = ::stat(name.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) throw IoError::FromErrno(EISDIR);
    if (exists && ::access(name.c_str(), W_OK) != 0) ThrowErrno();
    const std::string staging = StagingName(name);
    RemoveLeftover(staging);

    // A new file gets what the user's umask allows, a replaced one keeps its permissions.
    const mode_t mode = exists ? info.st_mode & 0777 : 0666;
    int descriptor = OpenUnnamedFile(name, mode);
    const bool unnamed = descriptor >= 0;
    if (!unnamed) {
        descriptor = ::open(staging.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor < 0) ThrowErrno();
    }
    bool staged = !unnamed;  // whether the staging name holds the new file
    try {
        if (exists) ::fchmod(descriptor, mode);  // past the umask; a file system may refuse
        WriteThrough(descriptor, write);
        errno = 0;
        if (::fsync(descriptor) != 0) ThrowErrno();
        // A new file is named at once; an existing one is replaced through the staging name.
        bool placed = false;
        if (unnamed && !exists) {
            placed = NameUnnamedFile(descriptor, name);
            if (!placed && errno != EEXIST) ThrowErrno();
        }
        if (unnamed && !placed) {
            if (!NameUnnamedFile(descriptor, staging)) {
                throw IoError::FromErrno(errno == EEXIST ? EACCES : errno);
            }
            staged = true;
        }
        if (!placed && std::rename(staging.c_str(), name.c_str()) != 0) ThrowErrno();
    } catch (...) {
        ::close(descriptor);
        if (staged) ::unlink(staging.c_str());
        throw;
    }
    ::close(descriptor);
    SyncFolder(name);
}

FilePath SaveStagingName(const FilePath& path) {
    return FilePath::FromNative(
        QByteArray::fromStdString(StagingName(FollowLinks(NativeName(path)))));
}

void WriteScratchFile(const QString& path, const std::function<void(TextFileWriter&)>& write) {
    const std::string name = NativeName(path);
    std::string staging = FolderPrefix(name) + ".narzedzia-scratch-XXXXXX";
    const int descriptor = ::mkostemp(staging.data(), O_CLOEXEC);
    if (descriptor < 0) ThrowErrno();
    try {
        WriteThrough(descriptor, write);
    } catch (...) {
        ::close(descriptor);
        ::unlink(staging.c_str());
        throw;
    }
    ::close(descriptor);
    // The rename replaces a link of that name by the file; it never writes where one points.
    if (std::rename(staging.c_str(), name.c_str()) != 0) {
        const int error = errno;
        ::unlink(staging.c_str());
        throw IoError::FromErrno(error);
    }
}

}  // namespace platform
