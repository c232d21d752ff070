// The quiz's process-wide state as a new program has it: no champions, no
// record of this run, no error text.
#pragma once

#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/NumberText.h"
#include "quiz/core/TaskCatalogue.h"

inline void StartFreshQuiz() {
    ChampionTable.Reset();
    RunRecords.Reset();
    formulon::engine::LastErrorText.Clear();
}
