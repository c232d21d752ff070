// The record a check leaves for its explanation: the same results as an
// unwatched check, the answer's steps in words, the raised error kept.
#include "quiz/core/CheckRecord.h"
#include "engine/Cp1251.h"
#include "engine/Errors.h"
#include "engine/Formula.h"
#include "engine/NumberText.h"

#include <gtest/gtest.h>

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
    void SetUp() override {
        ForgetLastCheck();
        LastErrorText.Clear();
    }
};

std::vector<std::string> Utf8Lines(const std::vector<std::string>& cp1251) {
    std::vector<std::string> lines;
    for (const std::string& line : cp1251)
        lines.push_back(Cp1251ToUtf8(line));
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

    BeginCheckRecord(4, 2, row.answer);
    const std::string reference = RecordedReferenceValue("y+z");
    bool raised = false;
    try {
        EXPECT_EQ(RecordedAnswerValue(row.answer), plainValue);
    } catch (const Exception& error) {
        raised = true;
        EXPECT_EQ(error.Message(), row.raised) << "the error goes on unchanged";
    }
    EXPECT_EQ(ActiveFormulaObserver, nullptr);
    EXPECT_EQ(raised, plainRaised);
    EXPECT_EQ(LastErrorText.Read(), plainMessage);

    ASSERT_TRUE(HasLastCheck());
    const TCheckRecord& check = LastCheck();
    EXPECT_EQ(check.TaskNo * 10 + check.Variant, 42);
    EXPECT_EQ(check.Answer, row.answer);
    EXPECT_EQ(check.ReferenceValue, reference);
    EXPECT_EQ(check.AnswerDone, !raised);
    EXPECT_EQ(check.AnswerValue, plainValue);
    EXPECT_EQ(check.Message, plainMessage);
    EXPECT_EQ(check.Raised, row.raised != nullptr);
    EXPECT_EQ(check.RaisedError, row.raised ? row.raised : "");
    EXPECT_EQ(Utf8Lines(DescribeSteps(check.Steps)),
              std::vector<std::string>(row.steps.begin(), row.steps.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CheckRecordTest,
    testing::Values(
        CheckRow{"sin(y-z)",
                 {"Подстановка y = 7, z = 11: sin((7)-(11))",
                  "Запись после нормализации: sin((7)-(11))", "Скобки: (7)",
                  "Значение скобок 7 подставлено: sin(7-(11))", "Скобки: (11)",
                  "Значение скобок 11 подставлено: sin(7-11)", "Скобки: (7-11)", "Действие: -4",
                  "Функция sin от -4 = -0,0697564737441253",
                  "Значение скобок -0,0697564737441253 подставлено: -0,0697564737441253"},
                 nullptr},
        CheckRow{"10-2^2",
                 {"Подстановка y = 7, z = 11: 10-2^2", "Запись после нормализации: 10-2^2",
                  "Действие: 104"},
                 nullptr},
        CheckRow{
            "2y",
            {"Подстановка y = 7, z = 11: 2(7)", "Запись после нормализации: 2(7)", "Скобки: (7)"},
            nullptr},
        CheckRow{"3/0+z",
                 {"Подстановка y = 7, z = 11: 3/0+(11)", "Запись после нормализации: 3/0+(11)",
                  "Скобки: (11)", "Значение скобок 11 подставлено: 3/0+11"},
                 nullptr},
        CheckRow{"2*x",
                 {"Подстановка y = 7, z = 11: 2*x", "Запись после нормализации: 2*x"},
                 "'x' is not a valid floating point value"}));

TEST(CheckRecordLifeTest, AnErrorInTheReferenceIsKeptAndTheAnswerNotEvaluated) {
    ForgetLastCheck();
    EXPECT_FALSE(HasLastCheck());
    BeginCheckRecord(1, 1, "y");
    EXPECT_THROW(RecordedReferenceValue("2*q"), EConvertError);
    const TCheckRecord& check = LastCheck();
    EXPECT_TRUE(check.Raised);
    EXPECT_FALSE(check.ReferenceDone);
    EXPECT_FALSE(check.AnswerDone);
    EXPECT_TRUE(check.Steps.empty()) << "the reference's steps are never kept";
}

TEST(FirstDifferenceTest, MarksTheFirstDifferingCharacter) {
    struct Row {
        const char* a;
        const char* b;
        int expected;
    } rows[] = {{"12,5", "12,5", 0}, {"12,5", "12,6", 4}, {"1", "12", 2},
                {"", "~", 1},        {"", "", 0},         {"-3", "3", 1}};
    for (const Row& row : rows)
        EXPECT_EQ(FirstDifference(row.a, row.b), row.expected) << row.a << " / " << row.b;
}

TEST(MinusBeforePowerTest, FindsASubtractedPowerAnywhere) {
    struct Row {
        const char* answer;
        bool expected;
    } rows[] = {{"10-2^2", true},  {"sin(y-z^2)", true}, {"1-2^2*3", true}, {"10-(2^2)", false},
                {"10+2^2", false}, {"-2^2", false},      {"2^2-1", false},  {"10-2^", false}};
    for (const Row& row : rows)
        EXPECT_EQ(MinusBeforePower(row.answer), row.expected) << row.answer;
}

} // namespace
