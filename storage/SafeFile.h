// Small files the program keeps in the user's data folder or a shared one
// (the champions table, practice's progress), read and saved so that a
// crash, a full disk or another copy never leaves half a file: the system
// calls, the old runtime's input/output errors they raise, and the safe
// replacement of a whole file. Paths are bytes, used exactly as given.
#pragma once

#include <QByteArray>

#include <sys/types.h>

#include "engine/Errors.h"

#include <QString>

#include <string>

// A raised error's message, in code page 1251 as every raised message is.
std::string Cp1251Message(const QString& text);

// The old runtime's input/output error for a system error number.
[[noreturn]] void RaiseInOutError(int code);
[[noreturn]] void RaiseReadBeyondEnd();

// Closes a descriptor when it goes, normally or by an error.
class TDescriptor {
public:
    explicit TDescriptor(int fd = -1) : fd_(fd) {}
    ~TDescriptor();
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return fd_; }
    bool Open() const { return fd_ >= 0; }
    // Closes now: 0 or the error number of close.
    int Close();

private:
    int fd_;
};

// Reads exactly size bytes; EInOutError on failure, "Read beyond end of
// file" when the file ends first.
void ReadExactly(int fd, char* into, std::size_t size);

// Writes every byte; 0 or the error number of the write that failed.
int WriteAll(int fd, const QByteArray& bytes);

// The folder part and the name part of a path ("." for a bare name).
QByteArray FolderOf(const QByteArray& path);
QByteArray NameOf(const QByteArray& path);

// Creates the folder and its parents (mode 0700 for new ones); raises the
// failing mkdir's error.
void MakeFolders(const QByteArray& folder);

// Makes a rename in the folder durable; a failure has nothing to report.
void FlushFolder(const QByteArray& folder);

// The lstat of a path; false when there is nothing there.
bool LinkStatus(const QByteArray& path, struct stat& info);

// The mode and group a file replaced by ReplaceFile gets.
struct TNewFileMode {
    mode_t mode;
    gid_t group;       // (gid_t)-1: whatever the folder gives
    bool kept = false; // the file's own: a save that cannot keep it writes in place
};

// Something at a file's path that is not a file (a device, pipe, socket or
// folder): never read as one, never replaced, whoever runs the program.
class ENotAFile : public formulon::engine::EInOutError {
public:
    using EInOutError::EInOutError;
};

// Raises ENotAFile unless the path names a plain file, a link, or nothing.
// `name` is how the message calls the file ("Файл рекордов").
void CheckReplaceable(const QByteArray& path, const QString& name);

// What a path holds, read whole for a load or a save.
struct TFileOnDisk {
    bool Exists = false;
    std::string Bytes; // at most maxSize + 1: a longer file is damaged anyway
};

// Reads the file at the path (through a link to a plain file; a link to
// anything else or to nothing is no file). Opened for reading and writing
// when asked, so a file the user may not write fails as the old runtime's
// did. Raises EInOutError when it cannot be opened or read: a read error
// is never damage. Raises ENotAFile as CheckReplaceable does.
TFileOnDisk ReadWhole(const QByteArray& path, std::size_t maxSize, const QString& name,
                      bool forWriting = false);

// Test seam: from now on the data files' open, read and fsync fail with
// EIO, each while its bit is set (0 clears). Only tests use it.
enum TInjectedFault : unsigned { kFailOpen = 1, kFailRead = 2, kFailFsync = 4 };
void InjectFaults(unsigned faults);

// The mode and group of the plain file at the path, with reading and
// writing for its owner added (or the next save could not read it); the
// fallback when no plain file is there.
TNewFileMode KeptFileMode(const QByteArray& path, const TNewFileMode& fallback);

// The mkstemp pattern of a save's temporary file: <path>.formulon-save-XXXXXX.
QByteArray TemporaryPattern(const QByteArray& path);

// Replaces the file at the path with the bytes: a new file renamed over
// it, so a link there is replaced, never followed, and the old file stays
// whole until the new one is on disk (temporary file, fsync, rename, fsync
// of the folder). A folder that allows no new file but holds a writable
// plain file, or a kept group the user cannot give a new file: that file is
// rewritten in place. Raises EInOutError; `reached` tells whether the bytes
// got into the file before the failure (an in-place write whose fsync
// failed), so the next save does not add them again.
void ReplaceFile(const QByteArray& path, const QByteArray& bytes, const TNewFileMode& mode,
                 bool* reached = nullptr);
