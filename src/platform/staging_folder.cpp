// The staging folder of files that take their places all together.
#include "platform/staging_folder.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

bool Rename(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// What stands at a name, without following a link: nothing, a folder, or anything else.
enum class Entry { None, Folder, Other };
Entry EntryAt(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) return Entry::None;
    return S_ISDIR(status.st_mode) ? Entry::Folder : Entry::Other;
}

}  // namespace

StagingFolder::StagingFolder(const QString& folder, const QString& prefix) : folder_(folder) {
    QByteArray name = QFile::encodeName(QDir(folder).filePath(prefix + QStringLiteral("XXXXXX")));
    if (!::mkdtemp(name.data())) throw IoError::FromErrno(errno);
    path_ = QFile::decodeName(name);
}

StagingFolder::~StagingFolder() {
    if (!keep_) QDir(path_).removeRecursively();
}

QString StagingFolder::File(const QString& name) const { return QDir(path_).filePath(name); }

void StagingFolder::MoveIntoPlace(const QStringList& names) {
    // The files of the target folder that the moved ones replaced are kept here meanwhile.
    const QString replacedFolder = File(QStringLiteral(".zastapione"));
    struct Move {
        QString name;
        bool replaced;
    };
    std::vector<Move> moved;
    const auto takeBack = [&] {
        for (auto move = moved.rbegin(); move != moved.rend(); ++move) {
            const QString target = QDir(folder_).filePath(move->name);
            bool back = Rename(target, File(move->name));
            if (move->replaced) {
                back = back && Rename(QDir(replacedFolder).filePath(move->name), target);
            }
            if (!back) keep_ = true;
        }
    };
    for (const QString& name : names) {
        const QString target = QDir(folder_).filePath(name);
        const Entry entry = EntryAt(target);
        int failure = 0;
        if (entry == Entry::Folder) {
            failure = EISDIR;
        } else if (entry == Entry::Other &&
                   (!QDir().mkpath(replacedFolder) ||
                    !Rename(target, QDir(replacedFolder).filePath(name)))) {
            failure = errno ? errno : EIO;
        } else if (!Rename(File(name), target)) {
            failure = errno ? errno : EIO;
            if (entry == Entry::Other && !Rename(QDir(replacedFolder).filePath(name), target)) {
                keep_ = true;
            }
        }
        if (failure != 0) {
            takeBack();
            throw PlacementError(IoError::FromErrno(failure), name, entry == Entry::Folder);
        }
        moved.push_back({name, entry == Entry::Other});
    }
}

}  // namespace platform
