// Saving merges instead of overwriting: other copies of the program (other
// users, other machines sharing the folder) may have saved since this run
// read the file, so a save adds this run's records to the table as it is on
// disk now. Plain C++, no Qt.
#pragma once

#include "champions/core/ChampionTable.h"

#include <cstddef>
#include <string_view>
#include <vector>

// The records this run entered, oldest first. The first Saved of them were
// in the table the last successful save wrote.
struct TRunRecords {
    std::vector<TChampionRecord> Entered;
    std::size_t Saved = 0;

    // A new record: the (name, time) pair, short texts, filler zero.
    void Enter(std::string_view name, std::string_view result);
    bool AllSaved() const { return Saved == Entered.size(); }
    void Reset() { *this = {}; }
};

// This run's records.
extern TRunRecords RunRecords;

// The table a save writes. `disk` is the file's table, or nullptr when there
// is no file or it failed its check (its rows are never carried on).
//
// A record is its (name, time) pair; equal pairs are counted. Added are, of
// each pair, the run's unsaved records, or as many of the run's records as
// the disk lacks if that is more (the file lost what this run saved, say it
// was deleted meanwhile). The disk's ranking and the added records are
// sorted as SortRanking sorts, disk records first among equal times, and
// the first fifteen places kept. Slot 16 is the disk's. When nothing is
// added the disk's table comes back unchanged, unsorted if it was.
// Raises EConvertError (nothing changed) when a compared time is no integer.
TChampionTable MergeChampions(const TChampionTable* disk, const TRunRecords& run);
