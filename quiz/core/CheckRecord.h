// What a check saw, kept so that it can be explained later
// without evaluating anything again. Only the answer's steps are kept: the
// reference formula contributes its value text and nothing else.
#pragma once

#include "engine/FormulaTrace.h"
#include "quiz/core/MathEquality.h"
#include "quiz/core/ReadingParts.h"
#include "quiz/core/TaskTable.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Most the recorded steps may hold, in bytes (texts and the steps
// themselves). Each step holds the whole formula as it then stands, so an
// answer of the box's 32,767 characters can take hundreds of megabytes of
// steps; a pupil reads a few screens of them at most. Steps past it are left
// out, from the first that does not fit to the end, so the steps kept are
// the trace's first ones, in order.
inline constexpr std::size_t kRecordedStepsBudget = std::size_t{1} << 20;

enum class TStepKind { Trace, Operation, Message };

// One thing the answer's evaluation did, in the order it did it.
struct TTraceStep {
    // Trace: the engine's step, as formulon-eval --trace prints it.
    formulon::engine::TraceStage Stage = formulon::engine::TraceStage::Subst;
    std::string Text; // Trace: the step's text; Message: the message (code page 1251)
    TStepKind Kind = TStepKind::Trace;
    // Operation: the operator about to be applied and the operand texts the
    // engine cut out for it ("~" or empty when one is missing).
    char Op = 0;
    std::string Left, Right;
};

struct TCheckRecord {
    int TaskNo = 0;
    int Variant = 0;
    // The table the task is one of, which outlives the record; null for the
    // standard table.
    const TTaskTable* Tasks = nullptr;
    std::string Answer; // as checked, code page 1251
    // The answer's steps, operations and messages in the order the engine
    // took them; after a raised error, those up to it.
    std::vector<TTraceStep> Steps;
    // The steps did not all fit in kRecordedStepsBudget: the rest were left
    // out, TraceStepsLeftOut of them steps of the trace.
    bool StepsCut = false;
    std::size_t TraceStepsLeftOut = 0;
    bool ReferenceDone = false; // the reference's evaluation returned
    bool AnswerDone = false;    // the answer's evaluation returned
    std::string ReferenceValue;
    std::string AnswerValue;
    std::string Message;       // LastErrorText when the check ended
    std::string AnswerMessage; // the last message the answer's own evaluation wrote, or empty
    // A wrong answer: where the program reads it differently from school
    // mathematics (ReadingParts.h), whether it is right in mathematics
    // (MathEquality.h) and, when it is, where the program reads the task's
    // own formula differently. Set by RunCheck.
    std::optional<TReadingPart> AnswerPart;
    TMathVerdict Mathematics = TMathVerdict::CannotTell;
    std::optional<TPartKind> TaskPart;
    bool Raised = false;     // the check was abandoned by an error
    std::string RaisedError; // its message, code page 1251
};

// The check's own evaluations, recorded into 'check' as they run. Each
// returns exactly what FormulaValue returns and lets every error through
// unchanged, the record then saying how far it got. A wrong answer is read
// as school mathematics at once, while the check runs on the one thread
// that owns LastErrorText, so that explaining it later never evaluates
// anything; that leaves no trace (QuietFormulaValue).
void BeginCheckRecord(TCheckRecord& check, int taskNo, int variant, const std::string& answer);
std::string RecordedReferenceValue(TCheckRecord& check, const std::string& referenceFormula);
std::string RecordedAnswerValue(TCheckRecord& check, const std::string& answer);

// The quiz's check of an answer (code page 1251) to a task of the catalogue,
// recorded into 'check' from the start: the reference formula's value, then
// the answer's; right when the two texts are equal, and nothing else is
// compared. Raises what the evaluations raise. LastErrorText is written as
// the engine writes it; a check apart from the quiz keeps it (below). A
// wrong answer is then compared with the task's formula in mathematics.
bool RunCheck(TCheckRecord& check, int taskNo, int variant, const std::string& answer);
// The same against a task of 'tasks'.
bool RunCheck(TCheckRecord& check, const TTaskTable& tasks, int taskNo, int variant,
              const std::string& answer);

// Puts LastErrorText back as it was when made, however its scope ends: a
// check apart from the quiz (practice) leaves the quiz's message alone.
class TKeptErrorText {
public:
    TKeptErrorText();
    ~TKeptErrorText();
    TKeptErrorText(const TKeptErrorText&) = delete;
    TKeptErrorText& operator=(const TKeptErrorText&) = delete;

private:
    std::string saved_;
};
