// File names and the folder operations of the tools.
#include "platform/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>

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

QString FileNamePart(const QString& path) { return path.mid(LastSeparator(path) + 1); }

QByteArray FileNamePart(const QByteArray& path) { return path.mid(LastSeparator(path) + 1); }

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool DeleteFile(const QString& path) {
    if (!FileExists(path)) return false;
    return QFile::remove(path);
}

bool RenameFile(const QString& from, const QString& to) {
    // std::rename replaces an existing target in one step, as the tools expect.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QStringList ListFolder(const QString& folder, const QString& pattern) {
    const QRegularExpression whole(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    const QDir dir(folder);
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (whole.match(entry).hasMatch()) names.append(entry);
    }
    return names;
}

QString CurrentDirectory() { return QDir::currentPath(); }

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/')) return folder + name;
    return folder + u'/' + name;
}

QString WorkFilesDirectory() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = JoinPath(base, QStringLiteral("narzedzia"));
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ExeOwner);
    return folder;
}

}  // namespace platform
