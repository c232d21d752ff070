// A check as the results log writes it, read back as a class file's line.
#include <gtest/gtest.h>

#include "engine/Cp1251.h"
#include "quiz/core/TaskCatalogue.h"
#include "teacher/ClassReader.h"
#include "teacher/ResultsLine.h"

namespace {

struct LogRow {
    std::string answer; // code page 1251; "y/z" is right
    bool practice, raised;
    const char* set;  // the task set's name; "" for the standard tasks
    std::string line; // after "ivanov\t3.2\t"
};

class ResultsLineTest : public testing::TestWithParam<LogRow> {};

TEST_P(ResultsLineTest, IsAClassFileLine) {
    const LogRow& row = GetParam();
    TCheckRecord check;
    check.TaskNo = 3, check.Variant = 2, check.Answer = row.answer, check.Raised = row.raised;
    check.ReferenceDone = check.AnswerDone = true;
    check.ReferenceValue = "0,5", check.AnswerValue = row.answer == "y/z" ? "0,5" : "2";
    const TTaskTable set(ReferenceFormulas.Rows(), row.set);
    check.Tasks = &set;
    const std::string text = ResultsLine(
        {"2026-12-08T20:00:00+03:00", "ivanov", "\xCE\xEB\xFF",
         row.practice ? TResultsMode::Practice : TResultsMode::Quiz, row.practice ? -1 : 75},
        check);
    EXPECT_EQ(text, "ivanov\t3.2\t" + row.line);
    const std::vector<TReadLine> read = ReadClassFile(text + text, TEncoding::Utf8);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].Line.Pupil + TaskText(read[1].Line.Task, read[1].Line.Variant), "ivanov3.2");
    EXPECT_EQ(read[1].Line.Answer, formulon::engine::Cp1251ToUtf8(row.answer));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ResultsLineTest,
    testing::Values(LogRow{"y/z", false, false, "",
                           "y/z\t2026-12-08T20:00:00+03:00\tОля\tquiz\tRIGHT\t75\t\n"},
                    LogRow{"2", true, false, "trig-9b",
                           "2\t2026-12-08T20:00:00+03:00\tОля\tpractice\tWRONG\t\ttrig-9b\n"},
                    LogRow{"2/0.0", false, true, "trig-9b",
                           "2/0.0\t2026-12-08T20:00:00+03:00\tОля\tquiz\tERROR\t75\ttrig-9b\n"},
                    LogRow{"\xF3\t\"", true, false, "",
                           "\"у\t\"\"\"\t2026-12-08T20:00:00+03:00\tОля\tpractice\tWRONG\t\t\n"}));

} // namespace
