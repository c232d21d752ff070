#include "quiz/core/AnswerExplanation.h"

#include "engine/Cp1251.h"
#include "engine/Functions.h"
#include "quiz/core/MathEquality.h"
#include "quiz/core/ValueWords.h"

using namespace formulon::engine;

namespace {

bool IsBlank(const std::string& answer) {
    return answer.find_first_not_of(' ') == std::string::npos;
}

std::vector<std::string> Comparison(const TCheckRecord& check) {
    if (check.Raised && !check.AnswerDone)
        return {Utf8ToCp1251("значение ответа не вычислено: вычисление прервано")};
    if (!check.AnswerDone || !check.ReferenceDone)
        return {};
    // An empty answer is said to be empty once, where it is typeset.
    if (IsBlank(check.Answer) && check.AnswerValue != check.ReferenceValue)
        return {Utf8ToCp1251("не совпадает")};
    std::vector<std::string> lines =
        CompareValues(check.AnswerValue, check.ReferenceValue, check.AnswerMessage);
    if (check.AnswerValue != check.ReferenceValue) {
        std::optional<TPartKind> answerPart;
        if (check.AnswerPart)
            answerPart = check.AnswerPart->Kind;
        for (std::string& line : MathematicsWords(check.Mathematics, check.TaskPart, answerPart))
            lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

std::string AnglesNote(const TCheckRecord& check) {
    for (const TTraceStep& step : check.Steps) {
        if (step.Kind != TStepKind::Trace || step.Stage != TraceStage::Func)
            continue;
        const TBuiltInFunction* function =
            FindBuiltInFunction(std::string_view(step.Text).substr(0, step.Text.find('(')));
        if (function != nullptr && function->Degrees != TDegrees::None)
            return Utf8ToCp1251("Углы программа берёт в градусах: sin(30) — это синус 30°, "
                                "а не 30 радиан");
    }
    return {};
}

TAnswerExplanation ExplainCheck(const TCheckRecord& check) {
    TAnswerExplanation explanation;
    explanation.Right =
        check.AnswerDone && check.ReferenceDone && check.AnswerValue == check.ReferenceValue;
    explanation.AnglesNote = AnglesNote(check);
    explanation.Steps = DescribeSteps(check);
    explanation.Message = check.AnswerMessage;
    explanation.Comparison = Comparison(check);
    if (explanation.Right)
        return explanation;
    explanation.Hints = FindHints(check.Answer, check.TaskNo, check.Variant,
                                  check.Tasks ? *check.Tasks : ReferenceFormulas);
    explanation.Part = check.AnswerPart;
    if (check.AnswerPart)
        explanation.Notes.push_back({check.AnswerPart->Position, check.AnswerPart->Note});
    return explanation;
}
