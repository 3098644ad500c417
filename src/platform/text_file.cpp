// Text files of 8-bit lines with checked input and output.
#include "platform/text_file.h"

#include <QFile>
#include <QSaveFile>
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

// A failed open or commit of a save: the system's error where it left one, else by Qt's kind.
[[noreturn]] void ThrowSaveError(const QSaveFile& file, int osError) {
    if (osError != 0) throw IoError::FromErrno(osError);
    throw IoError::FromErrno(file.error() == QFileDevice::OpenError ? EACCES : EIO);
}

// Makes a new name in a folder last across a power cut. The file is in place already, so a
// folder that cannot be synced (some file systems refuse) is no failure of the save.
void SyncFolder(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

// Qt puts the finished file over an existing one through a name seven bytes longer than the
// target's; a target name within seven bytes of the system's limit is therefore saved under a
// short name beside it first and renamed into place.
bool NeedsShortStagingName(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    const std::size_t length = slash == std::string::npos ? name.size() : name.size() - slash - 1;
    return length + 7 > NAME_MAX;
}

std::string StagingName(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    for (int attempt = 0;; ++attempt) {
        const std::string staging = folder + ".narzedzia-" + std::to_string(::getpid()) + "-" +
                                    std::to_string(attempt);
        struct stat info {};
        if (::lstat(staging.c_str(), &info) != 0) return staging;
    }
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
    const std::string name = NativeName(path);
    struct stat info {};
    const bool exists = ::stat(name.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) throw IoError::FromErrno(EISDIR);
    const bool staged = exists && NeedsShortStagingName(name);
    if (staged && ::access(name.c_str(), W_OK) != 0) ThrowErrno();
    const std::string target = staged ? StagingName(name) : name;

    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(target)));
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) ThrowSaveError(file, errno);
    if (staged) ::fchmod(file.handle(), info.st_mode & 07777);  // as Qt does for the target
    WriteThrough(file.handle(), write);
    // Qt's commit syncs the data and puts the file in place.
    errno = 0;
    if (!file.commit()) ThrowSaveError(file, errno);
    if (staged && std::rename(target.c_str(), name.c_str()) != 0) {
        const int error = errno;
        ::unlink(target.c_str());
        throw IoError::FromErrno(error);
    }
    SyncFolder(name);
}

void WriteScratchFile(const QString& path, const std::function<void(TextFileWriter&)>& write) {
    const std::string name = NativeName(path);
    const std::size_t slash = name.rfind('/');
    std::string staging =
        (slash == std::string::npos ? std::string() : name.substr(0, slash + 1)) +
        ".narzedzia-scratch-XXXXXX";
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
