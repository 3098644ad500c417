// A hidden folder inside a target folder, in which several files are written before any of them
// takes its place there: either all of them arrive, or none does and the folder is as it was.
#pragma once

#include <QString>
#include <QStringList>
#include <utility>

#include "platform/io_error.h"

namespace platform {

// A file that could not take its place in the target folder, and why; the files moved before it
// have been taken back.
class PlacementError : public IoError {
public:
    PlacementError(const IoError& cause, QString name, bool folderInTheWay)
        : IoError(cause), name_(std::move(name)), folderInTheWay_(folderInTheWay) {}
    const QString& name() const { return name_; }
    // A folder of the file's name stands where it should go.
    bool folderInTheWay() const { return folderInTheWay_; }

private:
    QString name_;
    bool folderInTheWay_;
};

class StagingFolder {
public:
    // Creates the hidden folder "<prefix>XXXXXX" (six random characters) in `folder`, readable by
    // its owner only; IoError when it cannot be created.
    StagingFolder(const QString& folder, const QString& prefix);
    // Removes the hidden folder with everything in it, unless a file it replaced could not be put
    // back: then it stays, holding that file.
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const QString& path() const { return path_; }
    QString File(const QString& name) const;

    // Moves the named files from the hidden folder into the target folder, each replacing a file
    // (or link) of its name, which is kept in the hidden folder until the end. When one cannot
    // take its place, the ones moved before go back, the files they replaced return, and
    // PlacementError names it; the target folder is then as it was before.
    void MoveIntoPlace(const QStringList& names);
    // True when a failed move could not put everything back (the hidden folder then stays).
    bool KeptForRestoring() const { return keep_; }

private:
    QString folder_;
    QString path_;
    bool keep_ = false;
};

}  // namespace platform
