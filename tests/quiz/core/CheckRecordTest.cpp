// The record a check leaves for its explanation: the same results as an
// unwatched check, the answer's steps in words, its own message, the raised
// error kept, and where the program reads a wrong answer differently.
#include "quiz/core/CheckRecord.h"
#include "engine/Cp1251.h"
#include "engine/Errors.h"
#include "engine/Formula.h"
#include "engine/NumberText.h"
#include "quiz/core/QuietValue.h"
#include "quiz/core/StepWords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <string>
#include <vector>

using namespace formulon::engine;

namespace {

struct CheckRow {
    const char* answer;
    std::vector<const char*> steps; // UTF-8, as described
    const char* raised;             // the raised error's message, or null
};

class CheckRecordTest : public testing::TestWithParam<CheckRow> {
protected:
    void SetUp() override { LastErrorText.Clear(); }
    TCheckRecord check;
};

std::vector<std::string> Utf8Lines(const std::vector<TStepLine>& cp1251) {
    std::vector<std::string> lines;
    for (const TStepLine& line : cp1251)
        lines.push_back(Cp1251ToUtf8(line.Text));
    return lines;
}

TEST_P(CheckRecordTest, RecordsWhatTheUnwatchedCheckGives) {
    const CheckRow& row = GetParam();
    // The same evaluation unwatched, for comparison.
    std::string plainValue, plainMessage;
    bool plainRaised = false;
    try {
        plainValue = FormulaValue(row.answer);
    } catch (const Exception&) {
        plainRaised = true;
    }
    plainMessage = LastErrorText.Read();
    LastErrorText.Clear();

    BeginCheckRecord(check, 4, 2, row.answer);
    const std::string reference = RecordedReferenceValue(check, "y+z");
    bool raised = false;
    try {
        EXPECT_EQ(RecordedAnswerValue(check, row.answer), plainValue);
    } catch (const Exception& error) {
        raised = true;
        EXPECT_EQ(error.Message(), row.raised) << "the error goes on unchanged";
    }
    EXPECT_EQ(ActiveFormulaObserver, nullptr);
    EXPECT_EQ(raised, plainRaised);
    EXPECT_EQ(LastErrorText.Read(), plainMessage);

    EXPECT_EQ(check.TaskNo * 10 + check.Variant, 42);
    EXPECT_EQ(check.Answer, row.answer);
    EXPECT_EQ(check.ReferenceValue, reference);
    EXPECT_EQ(check.AnswerDone, !raised);
    EXPECT_EQ(check.AnswerValue, plainValue);
    EXPECT_EQ(check.Message, plainMessage);
    EXPECT_EQ(check.Raised, row.raised != nullptr);
    EXPECT_EQ(check.RaisedError, row.raised ? row.raised : "");
    EXPECT_EQ(Utf8Lines(DescribeSteps(check)),
              std::vector<std::string>(row.steps.begin(), row.steps.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CheckRecordTest,
    testing::Values(
        CheckRow{"sin(y-z)",
                 {"Подставили y = 7, z = 11: sin((7)-(11))", "Скобки вокруг 7 сняли: sin(7-(11))",
                  "Скобки вокруг 11 сняли: sin(7-11)", "Считаем в скобках: (7-11)",
                  "Вычитание: 7-11 = -4", "Функция: sin(-4°) = -0,0697564737441253",
                  "Значение ответа: -0,0697564737441253"},
                 nullptr},
        CheckRow{"10-2^2",
                 {"Переменных нет: 10-2^2", "Степень: (-2)^2 = 4; формула стала такой: 104",
                  "Значение ответа: 104"},
                 nullptr},
        CheckRow{"5-(2-3) . 5",
                 {"Переменных нет: 5-(2-3) . 5",
                  "Убрали пробелы, точки заменили запятыми: 5-(2-3),5", "Считаем в скобках: (2-3)",
                  "Вычитание: 2-3 = -1", "Значение скобок -1 подставили: 5+1,5",
                  "Сложение: 5+1,5 = 6,5", "Значение ответа: 6,5"},
                 nullptr},
        CheckRow{"2y",
                 {"Подставили y = 7: 2(7)",
                  "Перед скобкой (7) стоит число 2 без знака действия: пропущен знак «*»",
                  "Ответ не вычислен: скобки не удалось вычислить или подставить"},
                 nullptr},
        CheckRow{"sin^2(y)",
                 {"Подставили y = 7: sin^2((7))", "Скобки вокруг 7 сняли: sin^2(7)",
                  "Перед скобкой (7) стоит показатель степени 2 функции sin: степень функции "
                  "пишут после её скобок: sin(…)^2",
                  "Ответ не вычислен: скобки не удалось вычислить или подставить"},
                 nullptr},
        CheckRow{"tg(y)",
                 {"Подставили y = 7: tg((7))", "Скобки вокруг 7 сняли: tg(7)",
                  "Функция tg(7) не вычислена: такой функции программа не знает",
                  "Ответ не вычислен: скобки не удалось вычислить или подставить"},
                 nullptr},
        CheckRow{"atn(1)+cos(-y)",
                 {"Подставили y = 7: atn(1)+cos(-(7))",
                  "Функция: atn(1) = 45°; формула стала "
                  "такой: 45+cos(-(7))",
                  "Скобки вокруг 7 сняли: 45+cos(-7)",
                  "Функция: cos(-7°) = 0,992546151641322; формула стала такой: "
                  "45+0,992546151641322",
                  "Сложение: 45+0,992546151641322 = 45,9925461516413",
                  "Значение ответа: 45,9925461516413"},
                 nullptr},
        CheckRow{"3/0+z",
                 {"Подставили z = 11: 3/0+(11)", "Скобки вокруг 11 сняли: 3/0+11",
                  "Деление: 3/0 — на ноль делить нельзя",
                  "Ответ не вычислен: действие не выполнено"},
                 nullptr},
        CheckRow{"2*+3",
                 {"Переменных нет: 2*+3",
                  "Умножение: у знака «*» нет числа справа, действие не выполнено",
                  "Ответ не вычислен: действие не выполнено"},
                 nullptr},
        CheckRow{"((y",
                 {"Подставили y = 7: (((7)",
                  "Скобки в ответе не сходятся: открывающих 2, закрывающих 0, значение ответа "
                  "пустое"},
                 nullptr},
        CheckRow{"  ", {"Программе нечего считать"}, nullptr},
        CheckRow{"cos 16",
                 {"Переменных нет: cos 16", "Убрали пробелы: cos16",
                  "Ответ не вычислен до числа: в нём остались знаки, которые программа не "
                  "вычисляет"},
                 nullptr},
        CheckRow{"2*x",
                 {"Переменных нет: 2*x", "Умножение: 2*x", "Здесь вычисление прервано ошибкой"},
                 "'x' is not a valid floating point value"}));

// Only what the answer's own evaluation wrote counts as its message, even
// when it is the message the task's formula wrote before it.
TEST(CheckRecordMessageTest, TheAnswersOwnMessageOnly) {
    struct Row {
        const char* reference;
        const char* answer;
        const char* own; // UTF-8
    } rows[] = {{"tan(90)", "1", ""},
                {"tan(90)", "tan(270)", "Ошибка в тангенсах"},
                {"1", "2/0", "Нельзя делить на ноль"}};
    for (const Row& row : rows) {
        LastErrorText.Set(Utf8ToCp1251("Ошибка в логарифмах")); // an earlier check's
        TCheckRecord check;
        BeginCheckRecord(check, 1, 1, row.answer);
        RecordedReferenceValue(check, row.reference);
        RecordedAnswerValue(check, row.answer);
        EXPECT_EQ(Cp1251ToUtf8(check.AnswerMessage), row.own) << row.answer;
    }
}

// Where the program reads a wrong answer differently is found while the
// check runs; the evaluations that decide it leave LastErrorText as it was.
TEST(CheckRecordReadingTest, FoundForAWrongAnswerOnly) {
    struct Row {
        const char* answer;
        const char* reference;
        int at; // the place, 0 for none
    } rows[] = {{"10-2^2", "y+z", 3},
                {"sin(y-z^2)-y^2", "y+z", 6},
                {"1-10^0.5", "y+z", 2},
                {"10-2^2", "104", 0},
                {"2^2-1", "y+z", 0}};
    for (const Row& row : rows) {
        LastErrorText.Clear();
        TCheckRecord check;
        BeginCheckRecord(check, 1, 1, row.answer);
        RecordedReferenceValue(check, row.reference);
        RecordedAnswerValue(check, row.answer);
        EXPECT_EQ(check.AnswerPart ? check.AnswerPart->Position : 0, row.at) << row.answer;
        EXPECT_EQ(LastErrorText.Read(), check.Message) << row.answer;
    }
}

// Nothing hears the quiet evaluation, an empty register stays empty and no
// floating-point flag is left.
TEST(QuietFormulaValueTest, LeavesNoTrace) {
    class Counter : public FormulaObserver {
    public:
        void Step(TraceStage, const std::string&) override { ++steps; }
        int steps = 0;
    } counter;
    FormulaTraceScope scope(counter);
    LastErrorText.Clear();
    std::string value;
    EXPECT_TRUE(QuietFormulaValue("2/0", value));
    EXPECT_FALSE(QuietFormulaValue("2/0.0", value));
    EXPECT_TRUE(LastErrorText.Empty());
    EXPECT_EQ(counter.steps, 0);
    // An underflow, which the engine leaves behind, is cleared as well.
    EXPECT_TRUE(QuietFormulaValue("0.1^400", value));
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT & ~FE_INEXACT), 0);
}

TEST(CheckRecordLifeTest, AnErrorInTheReferenceIsKeptAndTheAnswerNotEvaluated) {
    TCheckRecord check;
    BeginCheckRecord(check, 1, 1, "y");
    EXPECT_THROW(RecordedReferenceValue(check, "2*q"), EConvertError);
    EXPECT_TRUE(check.Raised);
    EXPECT_FALSE(check.ReferenceDone);
    EXPECT_FALSE(check.AnswerDone);
    EXPECT_TRUE(check.Steps.empty()) << "the reference's steps are never kept";
}

// The trace's first steps, as formulon-eval --trace prints them (twice the
// budget's bytes of them), and how many there are in all.
struct TTracePrefix : FormulaObserver {
    void Step(TraceStage, const std::string& text) override {
        ++count;
        if ((bytes += text.size()) < 2 * kRecordedStepsBudget)
            texts.push_back(text);
    }
    std::vector<std::string> texts;
    std::size_t count = 0, bytes = 0;
};

std::string Repeated(const std::string& unit, std::size_t times) {
    std::string text;
    while (times-- > 0)
        text += unit;
    return text;
}

// Long answers: the steps kept fit the budget and are the trace's first
// ones, in order; the words then say that the rest is left out and still
// end with how the evaluation ended.
TEST(CheckRecordBudgetTest, LongAnswersKeepTheTracesFirstStepsWithinTheBudget) {
    const struct {
        std::string answer;
        bool cut;
    } rows[] = {
        {"y" + Repeated("*z", 2000), true},   // a trace of 10 MB
        {"0" + Repeated("+(1)", 2000), true}, // 8 MB
        {Repeated("(", 8000) + "1" + Repeated(")", 8000), true},
        {Repeated("(", 300) + "1" + Repeated(")", 300), false},
    };
    for (const auto& row : rows) {
        TTracePrefix trace;
        {
            FormulaTraceScope scope(trace);
            try {
                FormulaValue(row.answer);
            } catch (const Exception&) {
            }
        }
        TCheckRecord check;
        BeginCheckRecord(check, 1, 1, row.answer);
        RecordedReferenceValue(check, "y+z");
        const std::string value = RecordedAnswerValue(check, row.answer);
        EXPECT_EQ(check.StepsCut, row.cut) << row.answer.size();
        std::size_t size = 0;
        std::vector<std::string> kept;
        for (const TTraceStep& step : check.Steps) {
            size += sizeof(TTraceStep) + step.Text.size() + step.Left.size() + step.Right.size();
            if (step.Kind == TStepKind::Trace)
                kept.push_back(step.Text);
        }
        EXPECT_LE(size, kRecordedStepsBudget);
        ASSERT_LE(kept.size(), trace.texts.size());
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), trace.texts.begin()));
        EXPECT_EQ(kept.size() + check.TraceStepsLeftOut, trace.count);

        const std::vector<std::string> lines = Utf8Lines(DescribeSteps(check));
        ASSERT_GE(lines.size(), 2u);
        // What brackets the program kept no text for are left in the value.
        EXPECT_TRUE(lines.back() == "Значение ответа: " + value ||
                    (lines.back().starts_with("Ответ не вычислен до числа") &&
                     value.find(')') != std::string::npos))
            << lines.back();
        const std::string leftOut = "Остальные шаги (ещё " +
                                    std::to_string(check.TraceStepsLeftOut) +
                                    ") не показаны: их слишком много для разбора";
        EXPECT_EQ(lines[lines.size() - 2] == leftOut, row.cut) << lines[lines.size() - 2];
    }
}

} // namespace
