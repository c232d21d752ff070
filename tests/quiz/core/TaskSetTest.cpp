// A task set file is read whole or refused whole, with the line and the
// reason in Russian.
#include "tests/engine/EngineTestSupport.h"

#include "quiz/core/TaskCatalogue.h"
#include "quiz/core/TaskSet.h"

#include <fstream>
#include <sstream>

namespace {

const TTaskSet* Read(const std::string& text, const std::string& name = "trig.tasks") {
    static std::shared_ptr<const TTaskSet> kept;
    const TTaskSetReading reading = ReadTaskSet(text, name);
    const auto* set = std::get_if<std::shared_ptr<const TTaskSet>>(&reading);
    kept = set ? *set : nullptr;
    return kept.get();
}

TTaskSetRefusal Refusal(const std::string& text, const std::string& name = "trig.tasks") {
    const TTaskSetReading reading = ReadTaskSet(text, name);
    const auto* refusal = std::get_if<TTaskSetRefusal>(&reading);
    return refusal ? *refusal : TTaskSetRefusal{-1, "read"};
}

TEST(TaskSetReading, TitleCommentsAndVariants) {
    const TTaskSet* set = Read("\xEF\xBB\xBF% Набор:  Тригонометрия, 9 «Б» \r\n% a comment\n\n"
                               "P21 y+1  y+1\nP11  sin(y)\t\\sin y\nP12 cos(z) \\cos z  \n");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->Title(), "Тригонометрия, 9 «Б»");
    EXPECT_EQ(set->Name(), "trig");
    EXPECT_FALSE(set->IsStandard());
    EXPECT_EQ(set->Table().TaskCount(), 2);
    EXPECT_EQ(set->Table().VariantCount(1), 2);
    EXPECT_EQ(set->Table().PictureTex(1, 2), "\\cos z");
    EXPECT_EQ(set->Table().ReferenceFormula(2, 1), "y+1");
    EXPECT_EQ(set->Line(0), 5);
    EXPECT_EQ(set->Line(2), 4);
}

// The standard table's file reads as the built-in set, row for row.
TEST(TaskSetReading, TheStandardFileReadsAsTheBuiltInSet) {
    std::ifstream file(FORMULON_SOURCE_DIR "/quiz/core/tasks/standard.tasks", std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    const TTaskSet* set = Read(bytes.str(), "standard.tasks");
    ASSERT_NE(set, nullptr);
    const TTaskTable& builtIn = StandardTaskSet()->Table();
    EXPECT_TRUE(StandardTaskSet()->IsStandard());
    ASSERT_EQ(set->Table().EntryCount(), builtIn.EntryCount());
    for (int entry = 0; entry < builtIn.EntryCount(); ++entry) {
        const TTaskRow& a = set->Table().Row(entry);
        const TTaskRow& b = builtIn.Row(entry);
        EXPECT_EQ(std::tie(a.Task, a.Variant, a.Picture, a.Formula, a.Tex),
                  std::tie(b.Task, b.Variant, b.Picture, b.Formula, b.Tex));
    }
}

struct TRefusalRow {
    std::string Text;
    int Line;
    std::string Message;
};

// Each refusal with its line and message; name trig.tasks unless a row's
// text starts with "name:".
TEST(TaskSetReading, EachRefusalSaysItsLineAndWhy) {
    const std::string ok = "P11 y \\sin y\n";
    const std::string many = [] {
        std::string text;
        for (int task = 1; task <= 21; ++task)
            text += "P" + std::to_string(task) + "1 y+" + std::to_string(task) + " y\n";
        return text;
    }();
    for (const TRefusalRow& row : std::initializer_list<TRefusalRow>{
             {"% only\n", 0, "в файле нет ни одного задания"},
             {"", 0, "в файле нет ни одного задания"},
             {ok + "P21 y/0.0 y\n", 2,
              "строка 2: формула y/0.0 прерывается ошибкой «Floating point division by zero»"},
             {"P11 2+(y \\sin y\n", 1,
              "строка 1: формула 2+(y не вычисляется: «Не хватает скобки \")\"»"},
             {"P11 (-8)^(1/3) x\n", 1,
              "строка 1: формула (-8)^(1/3) не вычисляется: «Невозможно возведение в степень »"},
             {"P11 Sin(y) x\n", 1,
              "строка 1: в формуле Sin(y) знак «S»: формула пишется строчными латинскими буквами, "
              "цифрами, точкой и знаками ^ * / + - ( )"},
             {"P11 y,5 x\n", 1,
              "строка 1: в формуле y,5 знак «,»: формула пишется строчными латинскими буквами, "
              "цифрами, точкой и знаками ^ * / + - ( )"},
             {"P11 уж x\n", 1,
              "строка 1: в формуле уж знак «у»: формула пишется строчными латинскими буквами, "
              "цифрами, точкой и знаками ^ * / + - ( )"},
             {"P11 y\n", 1, "строка 1: нужны имя картинки, формула и TeX картинки через пробел"},
             {"Q11 y x\n", 1,
              "строка 1: «Q11» — не имя картинки: P, номер задания и номер варианта (от 1 до 5), "
              "как P11, P23, P101"},
             {"P16 y x\n", 1,
              "строка 1: «P16» — не имя картинки: P, номер задания и номер варианта (от 1 до 5), "
              "как P11, P23, P101"},
             {many, 21, "строка 21: задание 21: в наборе не больше 20 заданий"},
             {ok + "p11 z x\n", 2, "строка 2: вариант 1.1 второй раз (первый в строке 1)"},
             {ok + "P31 y x\nP32 z x\n", 2,
              "строка 2: задание 3 без задания 2: задания идут 1, 2, 3… без пропусков"},
             {"P12 y x\n", 1,
              "строка 1: вариант 1.2 без варианта 1.1: варианты идут 1, 2, 3… без пропусков"},
             {ok + "P13 y x\n", 2,
              "строка 2: вариант 1.3 без варианта 1.2: варианты идут 1, 2, 3… без пропусков"},
             {"% Набор: a\n" + ok + "% Набор: b\n", 3,
              "строка 3: второе название набора (первое в строке 1)"},
             {ok + "P21 y \xC0\xE1\n", 2,
              "строка 2: текст не в кодировке UTF-8 (сохраните файл в UTF-8)"},
             {ok + "P21 y \xED\xA0\x80\n", 2,
              "строка 2: текст не в кодировке UTF-8 (сохраните файл в UTF-8)"},
             {ok + "P21 y a\x1B[2J\n", 2, "строка 2: управляющий знак с кодом 27"},
             {ok + "P21 y " + std::string(995, 'x') + "\n", 2,
              "строка 2: строка длиннее 1000 знаков"},
             {ok + "% " + std::string(64 * 1024, 'x'), 0, "файл больше 64 КиБ"},
             {"name:.camp.tasks", 0, "имя файла «.camp» не годится для набора заданий"},
             {"name:a/b.tasks", 0, "имя файла «a/b» не годится для набора заданий"},
             {"name:.tasks", 0, "имя файла «» не годится для набора заданий"},
         }) {
        const bool named = row.Text.starts_with("name:");
        const TTaskSetRefusal refusal = named ? Refusal(ok, row.Text.substr(5)) : Refusal(row.Text);
        EXPECT_EQ(refusal.Line, row.Line) << row.Message;
        EXPECT_EQ(refusal.Text, row.Message);
        EXPECT_EQ(refusal.English.starts_with("line " + std::to_string(row.Line) + ": "),
                  row.Line > 0)
            << refusal.English;
    }
    // Just within the limit: 1000 characters, Cyrillic ones two bytes each.
    std::string longest = ok + "P21 y " + std::string(497, 'x');
    for (int i = 0; i < 497; ++i)
        longest += "ж";
    EXPECT_NE(Read(longest), nullptr);
}

} // namespace
