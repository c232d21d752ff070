// Records the save helper enters and the tests expect, made the same way in
// both processes.
#pragma once

#include "champions/core/ChampionsMerge.h"

#include <string>

// The kill test's rounds: each round's fifteen records beat every earlier
// round's, so each save writes a table whose names are all of one round.
inline void EnterRound(int round) {
    RunRecords.Reset();
    for (int place = 1; place <= kRankingSlots; ++place)
        RunRecords.Enter("r" + std::to_string(round) + "-" + std::to_string(place),
                         std::to_string(100000000 - round * 100 + place));
}

// The stress test's records: distinct times, scattered across processes.
inline std::string StressName(int process, int record) {
    return "p" + std::to_string(process) + "-" + std::to_string(record);
}
inline int StressTime(int process, int record) {
    return 1 + (record * 10 + process) * 7919 % 100003;
}
