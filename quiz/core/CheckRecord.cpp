#include "quiz/core/CheckRecord.h"

#include "engine/Formula.h"
#include "engine/NumberText.h"
#include "quiz/core/TaskCatalogue.h"

#include <exception>

using namespace formulon::engine;

namespace {

// Appends what the answer's evaluation does to the record as the engine
// reports it, so that the steps before a raised error are kept as well,
// until the steps reach their budget.
class TStepRecorder : public FormulaObserver {
public:
    explicit TStepRecorder(TCheckRecord& check) : check_(check) {}
    void Step(TraceStage stage, const std::string& text) override {
        if (!Fits(text.size())) {
            ++check_.TraceStepsLeftOut;
            return;
        }
        TTraceStep step;
        step.Stage = stage;
        step.Text = text;
        check_.Steps.push_back(std::move(step));
    }
    void Operation(const std::string& left, char op, const std::string& right) override {
        if (!Fits(left.size() + right.size()))
            return;
        TTraceStep step;
        step.Kind = TStepKind::Operation;
        step.Op = op;
        step.Left = left;
        step.Right = right;
        check_.Steps.push_back(std::move(step));
    }
    void Message(const std::string& message) override {
        check_.AnswerMessage = message;
        if (!Fits(message.size()))
            return;
        TTraceStep step;
        step.Kind = TStepKind::Message;
        step.Text = message;
        check_.Steps.push_back(std::move(step));
    }

private:
    // Whether a step holding this many text bytes is recorded; once one is
    // not, none after it is.
    bool Fits(std::size_t textBytes) {
        const std::size_t cost = sizeof(TTraceStep) + textBytes;
        if (check_.StepsCut || cost > kRecordedStepsBudget - used_) {
            check_.StepsCut = true;
            return false;
        }
        used_ += cost;
        return true;
    }

    TCheckRecord& check_;
    std::size_t used_ = 0;
};

// Keeps the raised error's text and LastErrorText as they were when it was
// raised; the caller rethrows.
void RecordRaisedError(TCheckRecord& check, const std::exception& error) {
    check.Raised = true;
    check.RaisedError = error.what();
    check.Message = LastErrorText.Read();
}

} // namespace

void BeginCheckRecord(TCheckRecord& check, int taskNo, int variant, const std::string& answer) {
    check = {};
    check.TaskNo = taskNo;
    check.Variant = variant;
    check.Answer = answer;
    check.Message = LastErrorText.Read();
}

std::string RecordedReferenceValue(TCheckRecord& check, const std::string& referenceFormula) {
    try {
        std::string value = FormulaValue(referenceFormula);
        check.ReferenceValue = value;
        check.ReferenceDone = true;
        check.Message = LastErrorText.Read();
        return value;
    } catch (const std::exception& error) {
        RecordRaisedError(check, error);
        throw;
    }
}

std::string RecordedAnswerValue(TCheckRecord& check, const std::string& answer) {
    std::string value;
    try {
        TStepRecorder recorder(check);
        FormulaTraceScope scope(recorder);
        value = FormulaValue(answer);
    } catch (const std::exception& error) {
        RecordRaisedError(check, error);
        throw;
    }
    check.AnswerValue = value;
    check.AnswerDone = true;
    check.Message = LastErrorText.Read();
    if (check.ReferenceDone && value != check.ReferenceValue)
        check.AnswerPart = FindReadingPart(answer);
    return value;
}

bool RunCheck(TCheckRecord& check, int taskNo, int variant, const std::string& answer) {
    return RunCheck(check, ReferenceFormulas, taskNo, variant, answer);
}

bool RunCheck(TCheckRecord& check, const TTaskTable& tasks, int taskNo, int variant,
              const std::string& answer) {
    BeginCheckRecord(check, taskNo, variant, answer);
    check.Tasks = &tasks;
    const std::string formula = tasks.ReferenceFormula(taskNo, variant);
    const std::string reference = RecordedReferenceValue(check, formula);
    if (RecordedAnswerValue(check, answer) == reference)
        return true;
    check.Mathematics = CompareInMathematics(formula, answer);
    if (check.Mathematics == TMathVerdict::Equal)
        if (const std::optional<TReadingPart> part = FindReadingPart(formula))
            check.TaskPart = part->Kind;
    return false;
}

TKeptErrorText::TKeptErrorText() : saved_(LastErrorText.Read()) {}

TKeptErrorText::~TKeptErrorText() {
    // Put back, not written: no evaluation's observer hears it.
    FormulaObserver* const observer = ActiveFormulaObserver;
    ActiveFormulaObserver = nullptr;
    if (saved_.empty())
        LastErrorText.Clear();
    else
        LastErrorText.Set(saved_);
    ActiveFormulaObserver = observer;
}
