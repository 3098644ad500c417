// The folder lock, on Qt's lock file.
#include "platform/folder_lock.h"

#include <QLockFile>

#include "platform/file_names.h"

namespace platform {

FolderLock::FolderLock(const QString& folder)
    : lock_(std::make_unique<QLockFile>(JoinPath(folder, QStringLiteral("edytor.lock")))) {
    // A lock is stale only when its copy no longer runs, never by its age alone.
    lock_->setStaleLockTime(0);
}

FolderLock::~FolderLock() = default;

FolderLock::Outcome FolderLock::TryLock() {
    if (lock_->isLocked() || lock_->tryLock(0)) return Outcome::Taken;
    return lock_->error() == QLockFile::LockFailedError ? Outcome::HeldElsewhere : Outcome::Failed;
}

void FolderLock::Unlock() { lock_->unlock(); }

}  // namespace platform
