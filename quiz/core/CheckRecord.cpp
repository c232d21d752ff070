#include "quiz/core/CheckRecord.h"

#include "engine/Formula.h"
#include "engine/NumberText.h"
#include "quiz/core/MinusPower.h"

#include <exception>

using namespace formulon::engine;

namespace {

TCheckRecord lastCheck;
bool hasLastCheck = false;

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
void RecordRaisedError(const std::exception& error) {
    lastCheck.Raised = true;
    lastCheck.RaisedError = error.what();
    lastCheck.Message = LastErrorText.Read();
}

} // namespace

bool HasLastCheck() {
    return hasLastCheck;
}

const TCheckRecord& LastCheck() {
    return lastCheck;
}

void ForgetLastCheck() {
    lastCheck = {};
    hasLastCheck = false;
}

void BeginCheckRecord(int taskNo, int variant, const std::string& answer) {
    lastCheck = {};
    lastCheck.TaskNo = taskNo;
    lastCheck.Variant = variant;
    lastCheck.Answer = answer;
    lastCheck.Message = LastErrorText.Read();
    hasLastCheck = true;
}

std::string RecordedReferenceValue(const std::string& referenceFormula) {
    try {
        std::string value = FormulaValue(referenceFormula);
        lastCheck.ReferenceValue = value;
        lastCheck.ReferenceDone = true;
        lastCheck.Message = LastErrorText.Read();
        return value;
    } catch (const std::exception& error) {
        RecordRaisedError(error);
        throw;
    }
}

std::string RecordedAnswerValue(const std::string& answer) {
    std::string value;
    try {
        TStepRecorder recorder(lastCheck);
        FormulaTraceScope scope(recorder);
        value = FormulaValue(answer);
    } catch (const std::exception& error) {
        RecordRaisedError(error);
        throw;
    }
    lastCheck.AnswerValue = value;
    lastCheck.AnswerDone = true;
    lastCheck.Message = LastErrorText.Read();
    if (lastCheck.ReferenceDone && value != lastCheck.ReferenceValue)
        lastCheck.MinusPowerAt = MinusPowerPositions(answer, value);
    return value;
}
