// The lock file of a folder that holds the program's files (the champions
// table, practice's progress), held only while a file there is read or
// saved, so copies of the program on this and other machines that share
// the folder never read a half-made merge or save over each other.
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

#include <sys/types.h>

// The lock is older than this, or its owner died on this machine: whoever
// made it is gone, and it is taken over.
inline constexpr std::chrono::seconds kLockTakeOverAge{10};

// What the lock guards, for the messages: "Файл рекордов" when another
// copy keeps it, "the champions file" on standard error when it cannot be
// taken.
struct TLockedFile {
    QString Name;
    const char* EnglishName;
};

class TFolderLock {
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
    TFolderLock(const QByteArray& folder, const TLockedFile& file,
                std::chrono::milliseconds patience = kLockTakeOverAge);
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    QByteArray Path() const { return path_; }

    // What this process writes into its lock file: "<pid> <host> <boot id>".
    static QByteArray OwnerLine();

private:
    void Hold(int fd);
    void CreateInPlace(const TLockedFile& file);
    void Release();

    QByteArray path_;
    int fd_ = -1;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};
