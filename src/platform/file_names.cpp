// File names and the folder operations of the tools.
#include "platform/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/io_error.h"

namespace platform {
namespace {

qsizetype LastSeparator(const QString& name) {
    return std::max({name.lastIndexOf(u'\\'), name.lastIndexOf(u'/'), name.lastIndexOf(u':')});
}

qsizetype LastSeparator(const QByteArray& name) {
    return std::max({name.lastIndexOf('\\'), name.lastIndexOf('/'), name.lastIndexOf(':')});
}

}  // namespace

QString ReplaceExtension(const QString& name, const QString& extension) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > LastSeparator(name)) return name.left(dot) + extension;
    return name + extension;
}

bool HasExtension(const QString& name, const QString& extension) {
    return ReplaceExtension(name, extension).compare(name, Qt::CaseInsensitive) == 0;
}

QString FileNamePart(const QString& path) { return path.mid(LastSeparator(path) + 1); }

QByteArray FileNamePart(const QByteArray& path) { return path.mid(LastSeparator(path) + 1); }

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

FilePath::FilePath(const QString& path) : native_(QFile::encodeName(path)) {}

FilePath FilePath::FromNative(QByteArray native) {
    FilePath path;
    path.native_ = std::move(native);
    return path;
}

void RemoveFile(const FilePath& path) {
    if (path.native().isEmpty()) throw IoError(IoError::FileNotFound);
    // unlink removes a link itself and refuses a folder (EISDIR), as wanted.
    if (::unlink(path.native().constData()) != 0) throw IoError::FromErrno(errno);
}

bool DeleteFile(const FilePath& path) {
    try {
        RemoveFile(path);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

bool RenameFile(const QString& from, const QString& to) {
    // std::rename replaces an existing target in one step, as the tools expect.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QList<QByteArray> ListFolder(const QString& folder, const QString& pattern) {
    const QRegularExpression whole(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption);
    QList<QByteArray> names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..") continue;
        // Byte for character: the pattern's plain letters match whatever the rest of the name is.
        if (whole.match(QString::fromLatin1(name)).hasMatch()) names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

FilePath EntryPath(const QString& folder, const QByteArray& name) {
    QByteArray path = QFile::encodeName(folder);
    if (!path.endsWith('/')) path.append('/');
    return FilePath::FromNative(path + name);
}

QString CurrentDirectory() { return QDir::currentPath(); }

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/')) return folder + name;
    return folder + u'/' + name;
}

QString WorkFilesDirectory() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = JoinPath(base, QStringLiteral("narzedzia"));
    QDir().mkpath(base);
    // Owner-only from the start; an existing folder is judged by WorkFolderProblem, not changed.
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder;
}

QString WorkFolderProblem(const QString& folder) {
    struct stat info {};
    const bool usable = ::lstat(QFile::encodeName(folder).constData(), &info) == 0 &&
                        S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
                        (info.st_mode & 077) == 0;
    if (usable) return {};
    return QStringLiteral("Folderu plików roboczych %1 nie można użyć: musi to być zwykły folder, "
                          "którego właścicielem jesteś Ty i do którego inni użytkownicy nie mają "
                          "dostępu. Edytor Ankiet nie zostanie otwarty.")
        .arg(folder);
}

}  // namespace platform
