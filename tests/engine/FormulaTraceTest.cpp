// The steps FormulaValue reports to an observer, and that watching changes
// nothing.
#include "EngineTestSupport.h"

#include "engine/Errors.h"
#include "engine/Formula.h"
#include "engine/FormulaTrace.h"

using namespace formulon::engine;

namespace {

// Collects the steps as "stage text" lines, in UTF-8.
class StepLog : public FormulaObserver {
public:
    void Step(TraceStage stage, const std::string& text) override {
        lines += std::string(TraceStageName(stage)) + " " + Cp1251ToUtf8(text) + "\n";
    }
    std::string lines;
};

struct Outcome {
    std::string value; // the result text, or "raise " and the error kind
    std::string message;
};

Outcome Evaluate(const std::string& formula) {
    PrimeRegister();
    Outcome outcome;
    try {
        outcome.value = Cp1251ToUtf8(FormulaValue(Cp(formula)));
    } catch (const Exception& e) {
        outcome.value = "raise " + Cp1251ToUtf8(e.Message());
    }
    outcome.message = RegisterUtf8();
    return outcome;
}

struct TraceRow {
    const char* formula;
    const char* steps; // one "stage text" line each
};

class FormulaTraceTest : public testing::TestWithParam<TraceRow> {};

TEST_P(FormulaTraceTest, ReportsTheStepsInOrder) {
    StepLog log;
    {
        FormulaTraceScope scope(log);
        Evaluate(GetParam().formula);
    }
    EXPECT_EQ(log.lines, GetParam().steps) << GetParam().formula;
}

TEST_P(FormulaTraceTest, WatchingChangesNeitherResultNorMessage) {
    const Outcome unwatched = Evaluate(GetParam().formula);
    StepLog log;
    FormulaTraceScope scope(log);
    const Outcome watched = Evaluate(GetParam().formula);
    EXPECT_EQ(watched.value, unwatched.value) << GetParam().formula;
    EXPECT_EQ(watched.message, unwatched.message) << GetParam().formula;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FormulaTraceTest,
    testing::Values(
        TraceRow{"sin(y-z)", "subst sin((7)-(11))\nnorm sin((7)-(11))\ninner 7\n"
                             "group sin(7-(11))\ninner 11\ngroup sin(7-11)\ninner 7-11\n"
                             "flat -4\nfunc sin(-4)=-0,0697564737441253\n"
                             "group -0,0697564737441253\n"},
        TraceRow{"10-2^2", "subst 10-2^2\nnorm 10-2^2\nflat 104\n"},
        TraceRow{"2y", "subst 2(7)\nnorm 2(7)\ninner 7\n"},
        TraceRow{"5-(2-3)", "subst 5-(2-3)\nnorm 5-(2-3)\ninner 2-3\nflat -1\ngroup 5+1\n"
                            "flat 6\n"},
        TraceRow{"2*3+4*", "subst 2*3+4*\nnorm 2*3+4*\nflat 6+4*\nflat ~\n"},
        TraceRow{"-8^0.5", "subst -8^0.5\nnorm -8^0,5\nflat ~\n"},
        // The division guard returns before '/' is applied: no flat step.
        TraceRow{"2/0", "subst 2/0\nnorm 2/0\n"},
        TraceRow{"(2/0)+1", "subst (2/0)+1\nnorm (2/0)+1\ninner 2/0\n"},
        TraceRow{"tan(90)", "subst tan(90)\nnorm tan(90)\ninner 90\nfunc tan(90)=~\n"},
        TraceRow{"2,5", "subst 2,5\nnorm ~\n"}, TraceRow{"sin(2", "subst sin(2\nnorm sin(2\n"},
        TraceRow{"", "subst \nnorm \n"},
        // Nothing is reported after a raised error.
        TraceRow{"2*(1)+x", "subst 2*(1)+x\nnorm 2*(1)+x\ninner 1\ngroup 2*1+x\nflat 2+x\n"},
        TraceRow{"sin()", "subst sin()\nnorm sin()\ninner \n"},
        TraceRow{"1+10^200*10^200", "subst 1+10^200*10^200\nnorm 1+10^200*10^200\n"
                                    "flat 1+1E200*10^200\nflat 1+1E200*1E200\n"}));

// Steps with the operations and messages an explanation also hears of.
class EventLog : public StepLog {
public:
    void Operation(const std::string& left, char op, const std::string& right) override {
        lines += "op " + left + op + right + "\n";
    }
    void Message(const std::string& message) override {
        lines += "message " + Cp1251ToUtf8(message) + "\n";
    }
};

TEST(FormulaTraceEvents, OperationsAndMessagesComeInTheirPlace) {
    const TraceRow rows[] = {
        {"5-3*2", "subst 5-3*2\nnorm 5-3*2\nop -3*2\nflat 5-6\nop 5-6\nflat -1\n"},
        // The zero divisor stops the evaluation before any flat step.
        {"2/0", "subst 2/0\nnorm 2/0\nop 2/0\nmessage Нельзя делить на ноль\n"},
        {"-8^0.5",
         "subst -8^0.5\nnorm -8^0,5\nop -8^0,5\nmessage Невозможно возведение в степень \n"
         "flat ~\n"},
        {"tan(90)",
         "subst tan(90)\nnorm tan(90)\ninner 90\nmessage Ошибка в тангенсах\nfunc tan(90)=~\n"},
        {"2*x", "subst 2*x\nnorm 2*x\nop 2*x\n"},
    };
    for (const TraceRow& row : rows) {
        PrimeRegister();
        EventLog log;
        try {
            FormulaTraceScope scope(log);
            FormulaValue(Cp(row.formula));
        } catch (const Exception&) {
        }
        EXPECT_EQ(log.lines, row.steps) << row.formula;
    }
}

TEST(FormulaTraceScope, RestoresTheObserverBeforeIt) {
    StepLog outer, inner;
    {
        FormulaTraceScope outerScope(outer);
        {
            FormulaTraceScope innerScope(inner);
            Evaluate("1");
        }
        Evaluate("2");
    }
    Evaluate("3");
    EXPECT_EQ(inner.lines, "subst 1\nnorm 1\n");
    EXPECT_EQ(outer.lines, "subst 2\nnorm 2\n");
}

} // namespace
