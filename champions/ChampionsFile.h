// The champions file: 17 records of 512 bytes, the last one the checksum
// record; the personal <data folder>/.camp.cam or a class table (see
// ChampionsLocation.h). Loads and saves hold the lock beside it
// (storage/MergingSave.h).
#pragma once

#include "champions/ChampionsLocation.h"
#include "champions/core/ChampionsBytes.h"
#include "champions/core/ChampionsMerge.h"
#include "storage/FolderLock.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>
#include <string>

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

// The file's bytes, read under its lock, or nothing when there is none.
// Touches no table, so it may run off the user-interface thread. Raises
// ELockBusy past the patience, EInOutError when the file cannot be opened
// (for reading and writing, so a read-only file fails) or read.
std::optional<std::string> ReadChampionsFile(std::chrono::milliseconds patience = kLoadPatience);

// Validates what was read into ChampionTable and sorts. Raises EConvertError
// for a checksum text that is no integer, with the ranking emptied: rows
// that failed their check never stay in the table.
TChampionsLoad ApplyChampionsFile(const std::optional<std::string>& bytes);

// Both at once.
TChampionsLoad LoadChampions(std::chrono::milliseconds patience = kLoadPatience);

// A class table whose group may not read and write it: the note for the
// teacher, or empty.
QString ClassTableModeProblem();

// What a save wrote: the merged table, and how many of the run's records
// were in it.
struct TChampionsSaved {
    TChampionTable Table;
    std::size_t Saved = 0;
};

// Merges the run's records into the file as it is on disk now and replaces
// it; touches no global, so it may run off the user-interface thread. A
// file that was read and fails its check is kept as a numbered backup
// first, never merged; one that cannot be read is left as it is and the
// save raises. `reached`: the bytes got into the file before a failure.
TChampionsSaved WriteChampions(const TRunRecords& run, bool* reached = nullptr);

// Takes a save's outcome into ChampionTable and RunRecords (on the
// user-interface thread): a success, or a failure after which the file may
// hold the records of `tried`.
void TakeSaved(const TChampionsSaved& saved);
void TakeFailedSave(std::size_t tried, bool reached);

// WriteChampions of RunRecords, then TakeSaved; raises as it does.
void SaveChampions();
