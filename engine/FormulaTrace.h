// An optional witness of FormulaValue's steps, for explaining an answer.
// Nobody watches by default; each step then costs one branch.
#pragma once

#include <string>

namespace formulon::engine {

enum class TraceStage { Subst, Norm, Inner, Flat, Func, Group };

// The stage's short name: "subst", "norm", "inner", "flat", "func", "group".
const char* TraceStageName(TraceStage stage);

class FormulaObserver {
public:
    virtual ~FormulaObserver() = default;
    virtual void Step(TraceStage stage, const std::string& text) = 0;
    // The operator the flat evaluation is about to apply and the operand
    // texts its scans cut out ("~" or empty when one is missing). Its Flat
    // step follows unless a zero divisor stops the evaluation first or an
    // operand does not convert. For explanations; the trace does not print it.
    virtual void Operation(const std::string& /*left*/, char /*op*/, const std::string& /*right*/) {
    }
    // A message an engine step writes into LastErrorText, as it is written:
    // tells an evaluation's own message from one an earlier one left there.
    virtual void Message(const std::string& /*message*/) {}
};

// The observer of this thread's evaluations, or null.
inline thread_local FormulaObserver* ActiveFormulaObserver = nullptr;

// Makes 'observer' watch this thread's evaluations while the scope lives,
// then restores whoever watched before.
class FormulaTraceScope {
public:
    explicit FormulaTraceScope(FormulaObserver& observer) : previous_(ActiveFormulaObserver) {
        ActiveFormulaObserver = &observer;
    }
    ~FormulaTraceScope() { ActiveFormulaObserver = previous_; }
    FormulaTraceScope(const FormulaTraceScope&) = delete;
    FormulaTraceScope& operator=(const FormulaTraceScope&) = delete;

private:
    FormulaObserver* previous_;
};

inline void TraceStep(TraceStage stage, const std::string& text) {
    if (ActiveFormulaObserver != nullptr) [[unlikely]]
        ActiveFormulaObserver->Step(stage, text);
}

} // namespace formulon::engine
