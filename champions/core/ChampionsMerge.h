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
// in the table the last successful save wrote; those before Tried went to
// the file in a save that failed after its bytes reached the file, so they
// may be there.
struct TRunRecords {
    std::vector<TChampionRecord> Entered;
    std::size_t Saved = 0;
    std::size_t Tried = 0;

    // A new record: the (name, time) pair, short texts, filler zero.
    void Enter(std::string_view name, std::string_view result);
    // A new record as the table holds it, filler bytes included.
    void Enter(const TChampionRecord& record) { Entered.push_back(record); }
    bool AllSaved() const { return Saved == Entered.size(); }
    void Reset() { *this = {}; }
};

// This run's records.
extern TRunRecords RunRecords;

// The table a save writes. `disk` is the file's table, or nullptr when there
// is no file or it failed its check (its rows are never carried on).
//
// A record is its (name, time) pair; equal pairs are counted. Added are, of
// each pair, the run's unsaved records (those of a save that may have
// reached the file not counted), or as many of the run's records as the
// disk lacks if that is more (the file lost what this run saved, say it was
// deleted meanwhile). The disk's ranking is sorted as SortRanking sorts it;
// where that stops at a time that is no integer, in the order it stopped
// with. Each added record then goes after every place of its time or
// better above the first place whose time is no integer, never past it,
// disk records first among equal times; the first fifteen places are kept.
// Slot 16 is the disk's. Raises nothing.
TChampionTable MergeChampions(const TChampionTable* disk, const TRunRecords& run);
