// File names and folders: the extension rule of saved files, and the file operations the tools
// use (exists, delete, rename, folder listing, current directory).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// Replaces the extension of `name` by `extension` (given with its full stop, e.g. ".wyn"). The
// extension is the part from the last full stop that follows the last "\", "/" or ":"; a name
// without one gets `extension` appended. A full stop inside a folder name does not count.
QString ReplaceExtension(const QString& name, const QString& extension);
// What follows the last "\", "/" or ":" of a name.
QString FileNamePart(const QString& path);
QByteArray FileNamePart(const QByteArray& path);

bool FileExists(const QString& path);  // a file (not a folder) of that name exists
bool DeleteFile(const QString& path);  // true when a file was deleted
// Renames `from` to `to`, replacing an existing file `to`; true on success.
bool RenameFile(const QString& from, const QString& to);
// Names of all entries of `folder` (files and folders alike, not those below them) that match
// the wildcard `pattern` ("*.WYN") without regard to letter case, in name order.
QStringList ListFolder(const QString& folder, const QString& pattern);
QString CurrentDirectory();
QString JoinPath(const QString& folder, const QString& name);

// The program's own folder for its question work files, created readable by its owner only.
QString WorkFilesDirectory();

}  // namespace platform
