// The lock file beside the champions table, held only while the file is
// read or saved, so copies of the program on this and other machines that
// share the folder never read a half-made merge or save over each other.
#pragma once

#include <QByteArray>

#include <chrono>

#include <sys/types.h>

// The lock is older than this, or its owner died on this machine: whoever
// made it is gone, and it is taken over.
inline constexpr std::chrono::seconds kLockTakeOverAge{10};

class TChampionsLock {
public:
    // Takes <folder>/formulon.lock, waiting up to `patience` while another
    // copy holds it. A lock file of a dead owner on this machine, of unknown
    // owner or older than kLockTakeOverAge is taken over. Raises EInOutError
    // when a live copy keeps it past the patience.
    //
    // Where the folder cannot hold a lock file (read-only, missing), or
    // something other than a plain file sits at its path (a folder, a link,
    // a pipe), the file goes unguarded: never followed, blocked on or
    // removed, and Held() is false.
    explicit TChampionsLock(const QByteArray& folder,
                            std::chrono::milliseconds patience = kLockTakeOverAge);
    ~TChampionsLock();
    TChampionsLock(const TChampionsLock&) = delete;
    TChampionsLock& operator=(const TChampionsLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    QByteArray Path() const { return path_; }

    // What this process writes into its lock file: "<pid> <host> <boot id>".
    static QByteArray OwnerLine();

private:
    void Hold(int fd);
    void CreateInPlace();
    void Release();

    QByteArray path_;
    int fd_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};
