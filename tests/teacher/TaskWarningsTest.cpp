// What the checker tells a set's author: one row per warning, on small
// hand-written sets, and a class marked against a set of its own shape.
#include <gtest/gtest.h>

#include "engine/FloatEnv.h"
#include "quiz/core/TaskSet.h"
#include "teacher/ClassCsv.h"
#include "teacher/ClassHtml.h"
#include "teacher/TaskWarnings.h"

using namespace formulon::engine;

namespace {

std::shared_ptr<const TTaskSet> Set(const std::string& text) {
    TTaskSetReading reading = ReadTaskSet(text, "warnings.tasks");
    auto* set = std::get_if<std::shared_ptr<const TTaskSet>>(&reading);
    return set ? *set : nullptr;
}

// Each entry's warnings as "1.1:kinds" with kinds by their number, "-" for
// none, and a SameValue's other entry after '>'.
std::string Described(const TTaskTable& tasks) {
    std::string text;
    const std::vector<TVariantWarnings> found = TaskWarnings(tasks);
    for (int entry = 0; entry < tasks.EntryCount(); ++entry) {
        text += (entry ? " " : "") + tasks.EntryText(entry) + ':';
        const auto& warnings = found[static_cast<std::size_t>(entry)].Warnings;
        for (const TTaskWarning& warning : warnings) {
            text += std::to_string(static_cast<int>(warning.Kind));
            if (warning.Kind == TTaskWarningKind::SameValue)
                text += '>' + tasks.EntryText(warning.Other);
        }
        text += warnings.empty() ? "-" : "";
    }
    return text;
}

// Kinds: 0 error value, 1 minus power, 2 digits, 3 no variables, 4 short
// value, 5 same value.
TEST(TaskWarnings, EachWarningOnASmallSet) {
    InitFloatingPointEnvironment();
    for (const auto& [text, described] : std::initializer_list<std::pair<std::string, std::string>>{
             {"P11 sin(y-z) x\n", "1.1:-"},
             {"P11 tan(90+y-y) x\n", "1.1:0"},
             {"P11 sin(10-y^2) x\n", "1.1:1"},
             {"P11 sin(y^20)*z x\n", "1.1:2"},
             {"P11 y-y+sin(1) x\n", "1.1:3"},
             {"P11 0.5+sin(30) x\n", "1.1:34"},
             {"P11 y+z x\n", "1.1:4"},
             {"P11 y*z*100 x\n", "1.1:4"},
             {"P11 y*z*100+1 x\n", "1.1:-"},
             {"P11 sin(y-z) x\nP12 -sin(z-y) x\nP21 cos(y) x\n", "1.1:5>1.2 1.2:5>1.1 2.1:-"},
         }) {
        const std::shared_ptr<const TTaskSet> set = Set(text);
        ASSERT_NE(set, nullptr) << text;
        EXPECT_EQ(Described(set->Table()), described) << text;
    }
}

// The standard tasks: 6.1 turns on digits, 9.2 and 10.1 read a minus before
// an even power, 9.3's value is the error text; nothing else.
TEST(TaskWarnings, TheStandardTasksWarnOfFourVariants) {
    InitFloatingPointEnvironment();
    std::string warned;
    const std::vector<TVariantWarnings> found = TaskWarnings(StandardTaskSet()->Table());
    for (int entry = 0; entry < StandardTaskSet()->Table().EntryCount(); ++entry)
        for (const TTaskWarning& warning : found[static_cast<std::size_t>(entry)].Warnings)
            warned += StandardTaskSet()->Table().EntryText(entry) + ':' +
                      std::to_string(static_cast<int>(warning.Kind)) + ' ';
    EXPECT_EQ(warned, "6.1:2 9.2:1 9.3:0 10.1:1 ");
}

// A set of two variants to task 1: the CSV's task totals name 1.2 and 2.1,
// and the report marks 1.2 with what its warning means.
TEST(TaskWarnings, AClassMarkedAgainstASetKeepsItsShape) {
    InitFloatingPointEnvironment();
    const std::shared_ptr<const TTaskSet> set = Set("P11 y*z+0.1234 x\nP12 y+z x\nP21 y*z*z x\n");
    ASSERT_NE(set, nullptr);
    const TTaskTable& tasks = set->Table();
    const std::vector<TMarkedAnswer> answers =
        MarkClass(ReadClassFile("Оля;1.2;z+y\nОля;2.1;y*z^2\nПетя;1.3;y\n", TEncoding::Auto, tasks),
                  RightInSchoolMathematics, tasks);
    const TClassTotals totals = CountClass(answers, tasks);
    const std::string csv = ClassCsv(answers, totals, TLanguage::English);
    EXPECT_NE(csv.find("Оля,1.2,z+y,right,18,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("'1.3' is not a task: give TASK.VARIANT, 1.1 to 2.1"), std::string::npos);
    EXPECT_NE(csv.find("\r\n1.2,1,0,0,0,1\r\n2.1,1,0,0,0,1\r\n"), std::string::npos) << csv;
    const std::string html = ClassHtml(answers, totals, TLanguage::English);
    EXPECT_NE(html.find("<p class=\"warning\">the value has fewer than 4"), std::string::npos);
    EXPECT_EQ(html.find("data:image/svg+xml"), std::string::npos);
}

} // namespace
