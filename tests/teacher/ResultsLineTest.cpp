// A check as the results log writes it, and the log read back as a class file.
#include <gtest/gtest.h>

#include "engine/Cp1251.h"
#include "teacher/ClassReader.h"
#include "teacher/ResultsLine.h"

namespace {

struct LogRow {
    std::string answer; // code page 1251
    bool practice, raised;
    std::string line;
};

class ResultsLineTest : public testing::TestWithParam<LogRow> {};

TEST_P(ResultsLineTest, IsAClassFileLine) {
    const LogRow& row = GetParam();
    TCheckRecord check;
    check.TaskNo = 3, check.Variant = 2, check.Answer = row.answer, check.Raised = row.raised;
    check.ReferenceDone = check.AnswerDone = true;
    check.ReferenceValue = "0,5", check.AnswerValue = row.answer == "y/z" ? "0,5" : "2";
    const TResultsEntry entry{"2026-12-08T20:00:00+03:00", "ivanov", "\xCE\xEB\xFF",
                              row.practice ? TResultsMode::Practice : TResultsMode::Quiz,
                              row.practice ? std::nullopt : std::optional<int>(75)};
    const std::string text = ResultsLine(entry, check);
    EXPECT_EQ(text, row.line);
    const std::vector<TReadLine> read = ReadClassFile(text + text, TEncoding::Utf8);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].Line.Pupil, "ivanov");
    EXPECT_EQ(TaskText(read[1].Line.Task, read[1].Line.Variant), "3.2");
    EXPECT_EQ(read[1].Line.Answer, formulon::engine::Cp1251ToUtf8(row.answer));
}

constexpr const char* kHead = "ivanov\t3.2\t";
constexpr const char* kTime = "\t2026-12-08T20:00:00+03:00\tОля\t";

INSTANTIATE_TEST_SUITE_P(
    Rows, ResultsLineTest,
    testing::Values(
        LogRow{"y/z", false, false, kHead + std::string("y/z") + kTime + "quiz\tRIGHT\t75\n"},
        LogRow{"2", true, false, kHead + std::string("2") + kTime + "practice\tWRONG\t\n"},
        LogRow{"2/0.0", false, true, kHead + std::string("2/0.0") + kTime + "quiz\tERROR\t75\n"},
        LogRow{"\xF3\t\"", true, false,
               kHead + std::string("\"у\t\"\"\"") + kTime + "practice\tWRONG\t\n"}));

} // namespace
