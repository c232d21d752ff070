// A class file as teachers save it: every form a row, and what is read.
#include <gtest/gtest.h>

#include "engine/Cp1251.h"
#include "teacher/ClassReader.h"

namespace {

constexpr const char* kProblems[] = {"",          "!NotUtf8", "!Quote", "!TooFew",
                                     "!NotATask", "!NoPupil", "!Comma"};

// Each line read as "number pupil|task|answer[|extra...]", a problem as
// "number !Problem pupil".
std::string Described(const std::vector<TReadLine>& lines) {
    std::string text;
    for (const TReadLine& read : lines) {
        text += (text.empty() ? "" : " / ") + std::to_string(read.Number) + ' ';
        if (read.Problem != TLineProblem::None) {
            text += std::string(kProblems[static_cast<int>(read.Problem)]) + ' ' + read.Line.Pupil;
            continue;
        }
        text += read.Line.Pupil + '|' + TaskText(read.Line.Task, read.Line.Variant) + '|' +
                read.Line.Answer;
        for (const std::string& extra : read.Line.Extra)
            text += '|' + extra;
    }
    return text;
}

struct ReadRow {
    const char* form;
    std::string bytes;
    TEncoding encoding;
    const char* read;
};

class ClassReaderTest : public testing::TestWithParam<ReadRow> {};

TEST_P(ClassReaderTest, ReadsTheForm) {
    EXPECT_EQ(Described(ReadClassFile(GetParam().bytes, GetParam().encoding)), GetParam().read)
        << GetParam().form;
}

const std::string kCp1251 = formulon::engine::Utf8ToCp1251("Иванов;1.1;у\r\nПётр;1.2;2*y\r\n");
constexpr auto A = TEncoding::Auto;

INSTANTIATE_TEST_SUITE_P(
    Forms, ClassReaderTest,
    testing::Values(
        ReadRow{"tabs", "Иванов\t1.1\tsin(y-z)\n", A, "1 Иванов|1.1|sin(y-z)"},
        ReadRow{"header, BOM, CRLF", "\xEF\xBB\xBFУченик;Задание;Ответ\r\nИванов;1.1;y\r\n", A,
                "2 Иванов|1.1|y"},
        ReadRow{"quotes", "Иванов,1.1,\"log(2,5)\"\n\"Пётр \"\"Пе\"\" Б\", 2.1 , \"y\" \n", A,
                "1 Иванов|1.1|log(2,5) / 2 Пётр \"Пе\" Б|2.1|y"},
        ReadRow{"comma unquoted", "Иванов,1.1,log(2,5)\n", A, "1 !Comma Иванов"},
        ReadRow{"comma, header's columns", "a,b,c,d\nИванов,1.1,y,5А\nПётр,1.1,log(2,5),5А\n", A,
                "2 Иванов|1.1|y|5А / 3 !Comma Пётр"},
        ReadRow{"results log", "Иванов\t3.2\ty\t2026-12-08 10:00:01\tivanov\tquiz\tright\t75\n", A,
                "1 Иванов|3.2|y|2026-12-08 10:00:01|ivanov|quiz|right|75"},
        ReadRow{"code page 1251 found", kCp1251, A, "1 Иванов|1.1|у / 2 Пётр|1.2|2*y"},
        ReadRow{"code page 1251 named", kCp1251, TEncoding::Cp1251,
                "1 Иванов|1.1|у / 2 Пётр|1.2|2*y"},
        ReadRow{"UTF-8 named", "Иванов;1.1;y\nП\xF1;1.2;y\n", TEncoding::Utf8,
                "1 Иванов|1.1|y / 2 !NotUtf8 П\xEF\xBF\xBD"},
        ReadRow{"mixed encodings", "Иванов;1.1;y\n" + kCp1251, A,
                "1 Иванов|1.1|y / 2 Иванов|1.1|у / 3 Пётр|1.2|2*y"},
        ReadRow{"blank lines, CR ends", "\n  \n;;\r\nИванов;1.1;y\rПётр;1.2;z", A,
                "4 Иванов|1.1|y / 5 Пётр|1.2|z"},
        ReadRow{"mixed separators", "Иванов;1.1;y\nПётр\t1,2\tz\nОля,1.3,\"y;z\"\n", A,
                "1 Иванов|1.1|y / 2 Пётр|1.2|z / 3 Оля|1.3|y;z"},
        ReadRow{"no answer", "Иванов;1.1\nПётр;1.2;\n", A, "1 Иванов|1.1| / 2 Пётр|1.2|"},
        ReadRow{"joined files", "Иванов;1.1;y\n\xEF\xBB\xBFУченик;Задание;Ответ\n", A,
                "1 Иванов|1.1|y / 2 !NotATask Ученик"},
        ReadRow{"broken lines", "Иванов;1.1;\"sin(y\nИванов\n;1.1;y\nИванов;11.1;y\nИванов;1.4;y\n",
                A,
                "1 !Quote Иванов;1.1;\"sin(y / 2 !TooFew Иванов / 3 !NoPupil  / "
                "4 !NotATask Иванов / 5 !NotATask Иванов"},
        ReadRow{"an empty task is no header", "Иванов;;y\n", A, "1 !NotATask Иванов"}));

// Whatever the line writer writes, the reader reads back as it was; with
// ',' only three columns, as a comma in an unquoted answer is a pupil's slip.
TEST(ClassLineTest, ReadsBackWhatItWrote) {
    const TClassLine line{"Пётр \"Пе\"", 10, 3, "log(2,5);\t1", {"12:00", "", "a\"b"}};
    EXPECT_EQ(Described(ReadClassFile(ClassLineText({"П,", 1, 2, "2,5", {}}, ','), A)),
              "1 П,|1.2|2,5");
    for (const char separator : {'\t', ';'}) {
        const std::vector<TReadLine> read = ReadClassFile(ClassLineText(line, separator), A);
        ASSERT_EQ(read.size(), 1u) << separator;
        EXPECT_EQ(Described(read), "1 Пётр \"Пе\"|10.3|log(2,5);\t1|12:00||a\"b") << separator;
    }
}

} // namespace
