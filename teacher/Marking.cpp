#include "teacher/Marking.h"

#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "quiz/core/AnswerBox.h"
#include "quiz/core/TaskCatalogue.h"

#include <algorithm>

using namespace formulon::engine;

namespace {

bool IsBlank(std::u32string_view text) {
    return std::all_of(text.begin(), text.end(), [](char32_t c) { return c == ' ' || c == '\t'; });
}

// The one place the hints are asked for, so that a change of their
// signature changes one call.
std::optional<TAnswerHint> FirstHint(const std::string& answer, const TTaskTable& tasks, int task,
                                     int variant) {
    std::vector<TAnswerHint> hints = FindHints(answer, tasks, task, variant);
    if (hints.empty())
        return std::nullopt;
    return std::move(hints.front());
}

} // namespace

bool RightInSchoolMathematics(const TCheckRecord& check) {
    return check.Mathematics == TMathVerdict::Equal;
}

TJudgement JudgeAnswer(int task, int variant, std::u32string_view pasted, TFlagRule flagRule) {
    return JudgeAnswer(ReferenceFormulas, task, variant, pasted, flagRule);
}

TJudgement JudgeAnswer(const TTaskTable& tasks, int task, int variant, std::u32string_view pasted,
                       TFlagRule flagRule) {
    TJudgement judgement;
    if (IsBlank(pasted))
        return judgement;
    const std::string answer = AnswerBoxText(pasted);
    TCheckRecord check;
    bool right = false;
    {
        // Every answer is judged afresh, as if it were the first check.
        TKeptErrorText kept;
        LastErrorText.Clear();
        try {
            right = RunCheck(check, tasks, task, variant, answer);
        } catch (const Exception&) {
            // Wrong: the quiz shows the error box, and the pupil's answer is not right.
        }
    }
    judgement.Value = check.Raised ? check.RaisedError : check.AnswerValue;
    judgement.Message = check.Message;
    judgement.AnswerMessage = check.AnswerMessage;
    if (right) {
        judgement.Verdict = TVerdict::Right;
        return judgement;
    }
    judgement.Verdict = flagRule(check) ? TVerdict::Flagged : TVerdict::Wrong;
    if (const std::optional<TAnswerHint> hint = FirstHint(answer, tasks, task, variant)) {
        judgement.Hint = hint->Text;
        judgement.Slip = hint->Rule;
    }
    return judgement;
}

std::vector<TMarkedAnswer> MarkClass(std::vector<TReadLine> lines, TFlagRule flagRule,
                                     const TTaskTable& tasks) {
    std::vector<TMarkedAnswer> marked;
    marked.reserve(lines.size());
    for (TReadLine& read : lines) {
        TMarkedAnswer answer{std::move(read), {}};
        TNotUtf8 where;
        const std::optional<std::u32string> pasted = DecodeUtf8(answer.Read.Line.Answer, where);
        if (answer.Read.Problem != TLineProblem::None || !pasted)
            answer.Judgement.Verdict = TVerdict::Unreadable;
        else
            answer.Judgement = JudgeAnswer(tasks, answer.Read.Line.Task, answer.Read.Line.Variant,
                                           *pasted, flagRule);
        marked.push_back(std::move(answer));
    }
    return marked;
}
