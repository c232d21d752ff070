// The values compared in words: how they differ, never the task's digits.
#include "tests/engine/EngineTestSupport.h"

#include "quiz/core/ValueWords.h"

#include <cfenv>

using namespace formulon::engine;

namespace {

struct WordsRow {
    const char* answer;
    const char* task;
    const char* message; // the answer's own
    const char* words;   // the lines, joined by " | "
};

class ValueWordsTest : public testing::TestWithParam<WordsRow> {};

TEST_P(ValueWordsTest, SaysHowTheValuesCompare) {
    const WordsRow& row = GetParam();
    std::string words;
    for (const std::string& line : CompareValues(Cp(row.answer), Cp(row.task), Cp(row.message)))
        words += (words.empty() ? "" : " | ") + Cp1251ToUtf8(line);
    EXPECT_EQ(words, row.words) << row.answer << " / " << row.task;
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT & ~FE_INEXACT), 0);
}

const char kForm[] = "не совпадает | значение то же, но записано иначе (лишние нули, знак «+»): "
                     "программа сравнивает записи знак в знак — уберите лишнее из чисел ответа";

INSTANTIATE_TEST_SUITE_P(
    Values, ValueWordsTest,
    testing::Values(
        WordsRow{"0,5", "0,5", "", "совпадает"}, WordsRow{"Ошибка", "Ошибка", "", "совпадает"},
        WordsRow{"0,3", "0,05", "", "не совпадает | ваше значение примерно в 10 раз больше"},
        WordsRow{"2000", "2,1", "", "не совпадает | ваше значение примерно в 1 000 раз больше"},
        WordsRow{"-10,8781306565949", "-0,0697564737441253", "",
                 "не совпадает | ваше значение по модулю примерно в 100 раз больше"},
        WordsRow{"-0,005", "0,5", "",
                 "не совпадает | ваше значение другого знака и по модулю примерно в 100 раз "
                 "меньше"},
        WordsRow{"1E300", "1E-300", "",
                 "не совпадает | ваше значение более чем в миллион раз больше"},
        WordsRow{"-3E-7", "-1", "",
                 "не совпадает | ваше значение по модулю более чем в миллион "
                 "раз меньше"},
        WordsRow{"0", "0,5", "", "не совпадает"},
        // Equal in mathematics or not is not told by the values alone.
        WordsRow{"0,999999999999999", "1", "", "не совпадает"},

        WordsRow{"1,00000000001", "1", "", "не совпадает"},
        // Arithmetic below the smallest normal value leaves an underflow behind.
        WordsRow{"1E-4940", "2E-4940", "", "не совпадает"},
        WordsRow{"0,999999999999999", "-1", "", "не совпадает | ваше значение другого знака"},
        WordsRow{"147,0", "147", "", kForm},
        WordsRow{"~", "0,5", "",
                 "не совпадает | значение вашего ответа — «~»: программа не смогла выполнить "
                 "действие | например, у знака действия нет числа с одной стороны"},
        // The message is shown apart, once.
        WordsRow{"~", "0,5", "Нельзя делить на ноль",
                 "не совпадает | значение вашего ответа — «~»: программа не смогла выполнить "
                 "действие"},
        WordsRow{"Ошибка", "0,5", "",
                 "не совпадает | значение вашего ответа — «Ошибка»: скобки не удалось вычислить "
                 "или подставить | например, перед скобкой число без знака «*» или неизвестный "
                 "знак"},
        WordsRow{"", "-0,5", "Не хватает скобки \")\"",
                 "не совпадает | значение вашего ответа пустое"},
        WordsRow{"2e", "2", "",
                 "не совпадает | значение вашего ответа «2e» — не число: в нём остались "
                 "знаки, которые программа не вычисляет"},
        WordsRow{"", "-0,5", "",
                 "не совпадает | значение вашего ответа пустое | в ответе нет ни одного числа"},
        // The task's own failure is not described.
        WordsRow{"0,5", "Ошибка", "", "не совпадает"}));

} // namespace
