// What every fuzz target needs: a private folder for the files it reads and writes, the input
// written into a file there, and a check that stops the run so that libFuzzer keeps the input.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A smaller quarantine of freed memory than the default 256 MiB: the targets allocate afresh on
// every run, and touching new pages would cost more time than the runs themselves. A use after
// free is still caught while the freed block is among the last 16 MiB freed.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

namespace fuzz {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? void() : ::fuzz::Fail(#condition, __FILE__, __LINE__))

// One folder for the whole run, removed at its end; in memory where the system offers a memory
// file system, since a target writes and reads several files on each of its thousands of runs.
inline const QTemporaryDir& Folder() {
    static const QTemporaryDir folder(
        (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
        QStringLiteral("/narzedzia-fuzz-XXXXXX"));
    if (!folder.isValid()) Fail("temporary folder", __FILE__, __LINE__);
    return folder;
}

inline QString FilePath(const char* name) { return Folder().filePath(QString::fromUtf8(name)); }

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file) ==
               static_cast<std::size_t>(bytes.size()));
    FUZZ_CHECK(std::fclose(file) == 0);
}

inline QByteArray ReadBytes(const QString& path) {
    std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "rb");
    FUZZ_CHECK(file != nullptr);
    QByteArray bytes;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        bytes.append(buffer, static_cast<qsizetype>(got));
    }
    FUZZ_CHECK(std::fclose(file) == 0);
    return bytes;
}

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

}  // namespace fuzz
