// The files a save makes beside the file it saves (the champions file,
// practice's progress): the leftovers of its temporary files (named by
// TemporaryPattern, SafeFile.h, so no one would pick the name by hand), the
// folder's lock file, and numbered backups of files it could not read. All
// are only ever touched under the folder's lock (FolderLock.h).
#pragma once

#include <QByteArray>

#include <chrono>

// The lock file in a folder. It is made once and stays.
QByteArray LockPath(const QByteArray& folder);

// <path>.formulon-backup-<n>.
QByteArray BackupPath(const QByteArray& path, int number);

// The newest backups kept of one file, and the highest number the program
// gives one: a name past it, made by hand, is not the program's.
inline constexpr int kBackupsKept = 10;
inline constexpr int kBackupNumberLimit = 999;

// Saves cut short leave their temporary file; earlier versions of the
// program left prepared or stale lock files (formulon.lock.new-XXXXXX,
// .stale-XXXXXX). Removes those (plain files of these patterns only) older
// than `age`: a younger one may be another machine's save in progress.
void RemoveSaveLeftovers(const QByteArray& path,
                         std::chrono::seconds age = std::chrono::minutes(1));

// Keeps what the path names (a file that failed its check, unreadable or a
// link) as the next numbered backup, never over an existing one; the path
// still names it until a new file replaces it. Past kBackupNumberLimit the
// lowest free number is taken. Keeps the newest kBackupsKept of the
// program's own backups by the time each was made. Returns the backup's
// path; raises EInOutError when it cannot be kept.
QByteArray KeepAsBackup(const QByteArray& path);
