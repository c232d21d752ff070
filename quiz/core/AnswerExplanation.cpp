#include "quiz/core/AnswerExplanation.h"

#include "engine/Cp1251.h"
#include "quiz/core/MinusPower.h"
#include "quiz/core/ValueWords.h"

TAnswerExplanation ExplainCheck(const TCheckRecord& check) {
    TAnswerExplanation explanation;
    explanation.Right =
        check.AnswerDone && check.ReferenceDone && check.AnswerValue == check.ReferenceValue;
    explanation.Steps = DescribeSteps(check);
    explanation.Message = check.AnswerMessage;
    if (check.AnswerDone && check.ReferenceDone)
        explanation.Comparison =
            CompareValues(check.AnswerValue, check.ReferenceValue, check.AnswerMessage);
    else if (check.Raised)
        explanation.Comparison = {
            formulon::engine::Utf8ToCp1251("значение ответа не вычислено: вычисление прервано")};
    if (explanation.Right)
        return explanation;
    explanation.Hints = FindHints(check.Answer);
    for (const int at : check.MinusPowerAt)
        explanation.Notes.push_back({at, MinusPowerNoteText()});
    return explanation;
}
