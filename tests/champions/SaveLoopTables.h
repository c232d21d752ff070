// Tables the save helper writes and the tests expect, built the same way in
// both processes.
#pragma once

#include "champions/core/ChampionTable.h"

#include <string>

// Fills ChampionTable with one of two tables that differ in every slot.
inline void FillLoopTable(int which) {
    ChampionTable.Reset();
    const std::string name = which == 0 ? "first" : "second";
    for (int slot = 1; slot <= kChampionSlots; ++slot) {
        ChampionTable[slot].SetName(name + std::to_string(slot));
        ChampionTable[slot].SetResult(std::to_string(slot * (which + 2)));
    }
}
