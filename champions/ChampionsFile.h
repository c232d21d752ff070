// The champions file: 17 records of 512 bytes, the last one the checksum
// record; the personal <data folder>/.camp.cam or a class table (see
// ChampionsLocation.h). Loads and saves hold the lock file beside it.
#pragma once

#include "app/shell/FolderLock.h"
#include "champions/ChampionsLocation.h"
#include "champions/core/ChampionsBytes.h"

#include <QByteArray>
#include <QString>

// The champions file, as the lock beside it names it in its messages.
const TLockedFile& ChampionsLockedFile();

// The 8704 bytes of the current table.
QByteArray ChampionsFileBytes();

// How a load that got through ended.
enum class TChampionsLoad {
    Loaded,  // the file's table
    NoFile,  // no file yet: an empty ranking
    Changed, // a changed or damaged file: reported, the ranking emptied
};

// Reads and validates the file into ChampionTable and sorts. Raises
// EInOutError, and then the load has no outcome; or EConvertError for a
// checksum text that is no integer, with the ranking emptied: rows that
// failed their check never stay in the table.
TChampionsLoad LoadChampions();

// Merges this run's records into the file as it is on disk now and writes
// it atomically; ChampionTable becomes what was written. A file on disk
// that fails its check, or cannot be read, is kept as a numbered backup
// first, never merged. A new file keeps the mode and group of the one it
// replaces. Raises EInOutError, or EConvertError when the disk's ranking
// holds a time that is no integer; the file on disk stays as it was.
void SaveChampions();
