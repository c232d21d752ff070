#include "teacher/ResultsLine.h"

#include "engine/Cp1251.h"
#include "teacher/ClassLine.h"
#include "teacher/Utf8.h"

std::string CheckVerdictWord(const TCheckRecord& check) {
    if (check.Raised)
        return "ERROR";
    const bool right =
        check.ReferenceDone && check.AnswerDone && check.ReferenceValue == check.AnswerValue;
    return right ? "RIGHT" : "WRONG";
}

std::string ResultsLine(const TResultsEntry& entry, const TCheckRecord& check) {
    using formulon::engine::Cp1251ToUtf8;
    TClassLine line;
    line.Pupil = ShownUtf8(entry.Login);
    line.Task = check.TaskNo;
    line.Variant = check.Variant;
    line.Answer = Cp1251ToUtf8(check.Answer);
    line.Extra = {entry.Time,
                  Cp1251ToUtf8(entry.Name),
                  entry.Mode == TResultsMode::Quiz ? "quiz" : "practice",
                  CheckVerdictWord(check),
                  entry.Clock >= 0 ? std::to_string(entry.Clock) : std::string(),
                  check.Tasks ? ShownUtf8(std::string(check.Tasks->SetName())) : std::string()};
    return ClassLineText(line) + '\n';
}
