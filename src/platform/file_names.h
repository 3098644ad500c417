// File names and folders: the extension rule of saved files, and the file operations the tools
// use (exists, delete, rename, folder listing, current directory).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace platform {

// A file's name as the system takes it: bytes, which need not be valid text (a name written by
// another program in another code page). A QString converts to it in the system's encoding.
class FilePath {
public:
    FilePath(const QString& path);  // NOLINT: every QString path is a file path
    static FilePath FromNative(QByteArray native);
    const QByteArray& native() const { return native_; }

private:
    FilePath() = default;
    QByteArray native_;
};

// Replaces the extension of `name` by `extension` (given with its full stop, e.g. ".wyn"). The
// extension is the part from the last full stop that follows the last "\", "/" or ":"; a name
// without one gets `extension` appended. A full stop inside a folder name does not count.
QString ReplaceExtension(const QString& name, const QString& extension);
// True when `name` has the extension `extension` (as ReplaceExtension takes it, with its full
// stop), without regard to letter case: "WYNIKI.WYN" has ".wyn".
bool HasExtension(const QString& name, const QString& extension);
// What follows the last "\", "/" or ":" of a name.
QString FileNamePart(const QString& path);
QByteArray FileNamePart(const QByteArray& path);

bool FileExists(const QString& path);  // a file (not a folder) of that name exists
// Deletes a file, or a link by its own name (never what it points to); a folder is left alone.
// True when something was deleted.
bool DeleteFile(const FilePath& path);
// The same, reporting the system's error (IoError) when nothing was deleted.
void RemoveFile(const FilePath& path);
// Renames `from` to `to`, replacing an existing file `to`; true on success.
bool RenameFile(const QString& from, const QString& to);
// Names of all entries of `folder` (files and folders alike, not those below them) that match
// the wildcard `pattern` ("*.WYN") without regard to letter case, in name order. The names are
// the system's own bytes, so that a name that is not valid text is found too.
QList<QByteArray> ListFolder(const QString& folder, const QString& pattern);
// The path of an entry named by ListFolder.
FilePath EntryPath(const QString& folder, const QByteArray& name);
QString CurrentDirectory();
QString JoinPath(const QString& folder, const QString& name);

// The program's own folder for its question work files, created readable by its owner only.
QString WorkFilesDirectory();
// Why `folder` may not hold the work files (in Polish, for a notice): it is not a real folder
// (a link, a file, missing), not the user's own, or open to other users. Empty when it may.
QString WorkFolderProblem(const QString& folder);

}  // namespace platform
