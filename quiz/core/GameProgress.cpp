#include "quiz/core/GameProgress.h"

#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/NumberText.h"
#include "engine/ShortText.h"
#include "quiz/core/GameState.h"

using namespace formulon::engine;

void StartGame(const std::string& playerName) {
    PlayerName = ShortText(playerName);
    SeedVariantGenerator();
    GameState.TaskNo = 1;
    GameState.Variant = static_cast<std::uint8_t>(DrawVariant());
    GameState.VariantDue = false;
}

bool DrawDueVariant() {
    if (!GameState.VariantDue)
        return false;
    GameState.VariantDue = false;
    GameState.Variant = static_cast<std::uint8_t>(DrawVariant());
    return true;
}

TCheckOutcome RightAnswer(const std::string& gameTime) {
    TCheckOutcome outcome;
    ++GameState.TaskNo;
    // Drawn once, as the pupil comes back to the next task; a won game has
    // no next task.
    GameState.VariantDue = GameState.TaskNo != kWonTaskNo;
    if (GameState.TaskNo == kWonTaskNo) {
        outcome.Verdict = TVerdict::Win;
        // The game is over before the record decision: a hand-made slot
        // time that does not convert must not leave a task 11 behind.
        GameState.TaskNo = 0;
        TChampionRecord& last = ChampionTable[kRankingSlots];
        if (IsRecordTime(gameTime, last.Result())) {
            last.SetName(PlayerName);
            last.SetResult(gameTime);
            // What the saves add to the file, whatever the table holds by then.
            RunRecords.Enter(last.Name(), last.Result());
            outcome.Record = true;
            try {
                SortChampions();
            } catch (...) {
                outcome.SortFault = std::current_exception();
                return outcome;
            }
        }
    }
    GameState.LastVerdict = TLastVerdict::Right;
    return outcome;
}

TCheckOutcome WrongAnswer() {
    TCheckOutcome outcome;
    outcome.Verdict = TVerdict::Wrong;
    outcome.Comment = LastErrorText.Read();
    GameState.LastVerdict = TLastVerdict::Wrong;
    GameState.VariantDue = false;
    return outcome;
}

std::string BestTime() {
    return ChampionTable[1].Result();
}
