// The lock beside a file the program keeps (the champions table, practice's
// progress): a lock the kernel holds on <folder>/formulon.lock while the
// file is read or saved, and drops when its holder ends, however it ends.
// Copies of the program on this and other machines that share the folder
// never read a half-made save or save over each other, where the file
// system's locks reach every machine (local disks, NFS with its lock
// service, SMB with byte-range locks). A lock is never taken over by age:
// a stalled holder keeps it until it goes on or dies.
#pragma once

#include "storage/SafeFile.h"

#include <QByteArray>
#include <QString>

#include <chrono>

// What the lock guards, for the messages.
struct TLockedFile {
    QString Name;            // "Файл рекордов"
    const char* EnglishName; // "the champions file", for standard error
};

// How long a load at start and a save wait for another copy's lock.
inline constexpr std::chrono::milliseconds kLoadPatience{1000};
inline constexpr std::chrono::milliseconds kSavePatience{10000};

// Another copy kept the lock past the patience: nothing was read or written.
class ELockBusy : public formulon::engine::EInOutError {
public:
    using EInOutError::EInOutError;
};

// The lock cannot be taken at all (something but a plain file at its path,
// a lock file this user may not write, locks that do not work there): the
// file is never saved without it. The message says who can mend it.
class ELockBroken : public formulon::engine::EInOutError {
public:
    using EInOutError::EInOutError;
};

class TFolderLock {
public:
    // Takes the lock of the folder holding filePath, waiting up to
    // `patience` while another copy holds it, off the user-interface thread
    // where that matters. A new lock file gets newMode (the folder's group
    // beside a class table); an existing one is never removed or replaced.
    // Raises ELockBusy or ELockBroken.
    //
    // Where no lock file can be made (a folder an administrator keeps
    // read-only) the file itself is locked while it can be written; when it
    // cannot be, nothing can change it and Held() is false. No folder at
    // all means no file: Held() is false.
    TFolderLock(const QByteArray& filePath, const TLockedFile& file,
                std::chrono::milliseconds patience, const TNewFileMode& newMode);
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    QByteArray Path() const { return path_; }

private:
    // The lock file opened for writing (made when missing), or -1 with
    // errno. A path that is not a plain file raises.
    int OpenLockFile(const TLockedFile& file, const TNewFileMode& newMode);
    bool LockTheFileItself(const QByteArray& filePath);
    void WaitFor(int fd, const TLockedFile& file, std::chrono::milliseconds patience);

    QByteArray path_;
    int fd_ = -1;
};

// The same kernel lock on a file already open for writing, taken by
// whoever shares the file (the results log is its own lock): waits up to
// `patience` while another holder has it. Closing the descriptor releases
// it. Unsupported leaves errno as the kernel said.
enum class TLockOutcome { Taken, Busy, Unsupported };
TLockOutcome LockOpenFile(int fd, std::chrono::milliseconds patience);

// The mode and group of a new lock file or file beside a class table:
// 0660 and the folder's group; a personal one is 0600.
TNewFileMode SharedFileMode(const QByteArray& filePath);
TNewFileMode PersonalFileMode();
