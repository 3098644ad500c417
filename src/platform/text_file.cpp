// Text files of 8-bit lines with checked input and output.
#include "platform/text_file.h"

#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/io_error.h"

namespace platform {
namespace {

constexpr int kEndOfFileByte = 0x1A;
constexpr std::size_t kReadAhead = 64 * 1024;

[[noreturn]] void ThrowErrno() { throw IoError::FromErrno(errno ? errno : EIO); }

std::string NativeName(const QString& path) {
    if (path.isEmpty()) throw IoError(IoError::FileNotFound);
    const QByteArray name = QFile::encodeName(path);
    return std::string(name.constData(), static_cast<std::size_t>(name.size()));
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

TextFileReader::TextFileReader(const QString& path) {
    const std::string name = NativeName(path);
    struct stat info {};
    if (::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) throw IoError::FromErrno(EISDIR);
    errno = 0;
    file_ = std::fopen(name.c_str(), "rb");
    if (!file_) ThrowErrno();
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

QByteArray TextFileReader::ReadLine() {
    if (!file_) throw IoError(103);
    QByteArray line;
    while (Fill()) {
        // The line's bytes up to a carriage return, a byte 1A or the end of the buffer.
        const char* const begin = buffer_.get() + next_;
        const char* const end = buffer_.get() + end_;
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

void WriteFileReplacing(const QString& path, const std::function<void(TextFileWriter&)>& write) {
    const std::string name = NativeName(path);
    struct stat info {};
    if (::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) throw IoError::FromErrno(EISDIR);

    std::string temporary = name + ".XXXXXX";
    errno = 0;
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) ThrowErrno();
    // mkstemp makes the file private; give it the permissions a newly created file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor, 0666 & ~mask);
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (!file) {
        const int error = errno;
        ::close(descriptor);
        ::unlink(temporary.c_str());
        throw IoError::FromErrno(error);
    }
    try {
        TextFileWriter writer(file);
        write(writer);
        writer.Close();
        errno = 0;
        if (std::rename(temporary.c_str(), name.c_str()) != 0) ThrowErrno();
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
}

}  // namespace platform
