// The one way a file the program shares is saved and loaded (the champions
// table, practice's progress): under the folder's lock, the file read whole
// as it is now, a file that was read and failed its check kept as a
// numbered backup, this run's data merged into what was read, the file
// replaced whole. A file that could not be read is never moved aside or
// replaced: the save raises and the caller keeps its data for a later one.
#pragma once

#include "storage/FolderLock.h"
#include "storage/SafeFile.h"

#include <QByteArray>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

struct TMergingSave {
    QByteArray Path;
    const TLockedFile* File = nullptr;
    std::size_t MaxSize = 0; // a longer file is damaged, and read no further
    // A new file's mode; a file there keeps its own mode and group.
    TNewFileMode NewMode = PersonalFileMode();
    std::chrono::milliseconds Patience = kSavePatience;
    // Whether the bytes read are a valid file of this kind.
    std::function<bool(const std::string& bytes)> Valid;
    // The bytes to write, given the valid file's bytes, or nullptr when
    // there is none (no file, or a damaged one, kept as a backup).
    std::function<QByteArray(const std::string* valid)> Merge;
};

struct TMergingSaveResult {
    QByteArray Backup; // where a damaged file was kept, or empty
};

// Lock, read, back up, merge, replace. Raises ELockBusy, ELockBroken,
// ENotAFile, EInOutError. `reached`: as ReplaceFile's.
TMergingSaveResult RunMergingSave(const TMergingSave& save, bool* reached = nullptr);

// The file read whole under the lock, for a load: nothing when there is no
// file. Raises as RunMergingSave does.
std::optional<std::string> ReadUnderLock(const TMergingSave& file, bool forWriting = false);

// Test seam: runs in every save between the read and the replacement, with
// the lock held (a slow share, a stall). Only tests use it.
void SetSaveStallHook(std::function<void()> hook);
