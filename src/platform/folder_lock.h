// One user of a folder at a time across the copies of the program: a lock file in the folder.
#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace platform {

// Held from TryLock until Unlock (or destruction). The lock of a copy that ended without giving
// it back (a crash, a kill) is taken over; a live copy's lock is never, however old it is.
class FolderLock {
public:
    enum class Outcome { Taken, HeldElsewhere, Failed };

    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    Outcome TryLock();  // Taken also when this lock already holds it
    void Unlock();

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace platform
