// The explanation of a check, over the whole catalogue: a right answer gets
// no hint and no note, a wrong one never sees the task's value, and the
// steps in words tell everything the trace shows, in its order.
#include "tests/engine/EngineTestSupport.h"

#include "engine/Errors.h"
#include "quiz/core/AnswerExplanation.h"
#include "quiz/core/TaskCatalogue.h"

using namespace formulon::engine;

namespace {

// The check explained by the tests below.
TCheckRecord check;

TAnswerExplanation Check(int task, int variant, const std::string& answer) {
    LastErrorText.Clear();
    try {
        RunCheck(check, task, variant, answer);
    } catch (const Exception&) {
    }
    return ExplainCheck(check);
}

// Every text the explanation shows, one after another.
std::vector<std::string> Texts(const TAnswerExplanation& explanation) {
    std::vector<std::string> texts = explanation.Comparison;
    for (const TStepLine& line : explanation.Steps)
        texts.insert(texts.end(), {line.Text, line.Note});
    for (const TAnswerHint& hint : explanation.Hints)
        texts.push_back(hint.Text);
    for (const TPlacedNote& note : explanation.Notes)
        texts.push_back(note.Text);
    texts.push_back(explanation.Message);
    return texts;
}

// The trace's texts, as recorded, must each be found in the lines, in
// order; a line may tell two steps whose texts are the same. A function's
// step is told with its degrees (CheckRecordTest has its words).
void ExpectTheTraceIn(const std::vector<TStepLine>& lines) {
    std::string told;
    for (const TStepLine& line : lines)
        told += line.Text + "\n";
    std::size_t at = 0;
    for (const TTraceStep& step : check.Steps) {
        if (step.Kind != TStepKind::Trace || step.Stage == TraceStage::Func)
            continue;
        const std::size_t found = told.find(step.Text, at);
        ASSERT_NE(found, std::string::npos) << Cp1251ToUtf8(step.Text);
        at = found;
    }
}

class CatalogueTest : public testing::TestWithParam<int> {
protected:
    int Task() const { return ReferenceFormulas.Row(GetParam()).Task; }
    int Variant() const { return ReferenceFormulas.Row(GetParam()).Variant; }
};

TEST_P(CatalogueTest, ARightAnswerGetsNoHintAndNoNote) {
    const std::string& answer = ReferenceFormula(Task(), Variant());
    const TAnswerExplanation explanation = Check(Task(), Variant(), answer);
    EXPECT_TRUE(explanation.Right);
    EXPECT_EQ(explanation.Comparison, std::vector<std::string>{Cp("совпадает")});
    EXPECT_TRUE(explanation.Hints.empty());
    EXPECT_TRUE(explanation.Notes.empty());
    ExpectTheTraceIn(explanation.Steps);
}

// y and z swapped: a wrong answer whose steps all differ from the task's.
TEST_P(CatalogueTest, AWrongAnswerNeverShowsTheTasksValue) {
    std::string answer = ReferenceFormula(Task(), Variant());
    for (char& c : answer)
        c = c == 'y' ? 'z' : c == 'z' ? 'y' : c;
    const TAnswerExplanation explanation = Check(Task(), Variant(), answer);
    const std::string& taskValue = check.ReferenceValue;
    ASSERT_FALSE(explanation.Right) << answer;
    for (const std::string& text : Texts(explanation))
        EXPECT_EQ(text.find(taskValue), std::string::npos) << answer << ": " << Cp1251ToUtf8(text);
    ExpectTheTraceIn(explanation.Steps);
}

INSTANTIATE_TEST_SUITE_P(AllThirty, CatalogueTest,
                         testing::Range(0, ReferenceFormulas.EntryCount()));

// A raised error ends the steps in words with its explanation beneath, and
// the unreadable answer gets its hints.
TEST(AnswerExplanationTest, ARaisedErrorEndsTheStepsAndGetsHints) {
    const TAnswerExplanation explanation = Check(1, 1, Cp("2*у"));
    ASSERT_FALSE(explanation.Steps.empty());
    EXPECT_EQ(Cp1251ToUtf8(explanation.Steps.back().Text), "Здесь вычисление прервано ошибкой");
    ASSERT_EQ(explanation.Hints.size(), 1u);
    EXPECT_EQ(explanation.Hints[0].Position, 3);
    ExpectTheTraceIn(explanation.Steps);
}

TEST(AnswerExplanationTest, TheNoteMarksTheMinusOfAWrongAnswer) {
    const TAnswerExplanation explanation = Check(1, 1, "sin(y-z^2)");
    ASSERT_EQ(explanation.Notes.size(), 1u);
    EXPECT_EQ(explanation.Notes[0].Position, 6);
    EXPECT_EQ(Cp1251ToUtf8(explanation.Notes[0].Text),
              "программа прочла y-z^2 не как вычитание: минус перед степенью она отнесла к "
              "основанию и возвела в степень -z");
}

// After a wrong answer the comparison ends with what the rule for right in
// mathematics says, and why the program disagrees.
TEST(AnswerExplanationTest, RightInMathematicsSaysWhyTheProgramDisagrees) {
    struct Row {
        int task, variant;
        const char* answer;
        const char* last; // the comparison's last line
    } rows[] = {
        {10, 1,
         "(abs(tan(3*sin(3*y-z)^2+exp(z^(-2)))^exp((y^0.5-3)^2)))^(1/2)/(7.03*sin((y-z)^3-((y+z)"
         "^2)))-5.63",
         "ваш ответ верен по математике, но не по правилам программы: формулу задания она "
         "читает по-своему — минус перед степенью относит к основанию степени. Пишите степень "
         "после минуса точно так, как на картинке, без лишних скобок"},
        {6, 3, "1.5*tan(z^2+y^(z-6.2))/(z^5-5)",
         "ваш ответ верен по математике, но не по правилам программы: она сравнивает своё "
         "значение до последней из пятнадцати цифр, а другой порядок действий или упрощение "
         "меняют последние цифры. Пишите формулу так, как на картинке, не упрощая"},
        {2, 1, "log(z^2+4)-(-y^2)",
         "ваш ответ верен по математике, но программа прочла его по своим правилам: смотрите "
         "отмеченное место и подсказку к нему"},
        {1, 1, "-0.0697564737441", "в ответе нет переменных y и z: наберите формулу, а не число"},
        {1, 1, "sin(y+z)", "ваше значение другого знака и по модулю примерно в 10 раз больше"},
    };
    for (const Row& row : rows) {
        const TAnswerExplanation explanation = Check(row.task, row.variant, row.answer);
        ASSERT_FALSE(explanation.Comparison.empty());
        EXPECT_EQ(Cp1251ToUtf8(explanation.Comparison.back()), row.last) << row.answer;
    }
}

TEST(ExplainRaisedErrorTest, ExplainsTheFrameworksTexts) {
    struct Row {
        const char* message;
        const char* explanation;
    } rows[] = {
        {"'ж' is not a valid floating point value",
         "в ответе русская буква «ж»: в формуле буквы только латинские"},
        {"'' is not a valid floating point value",
         "на месте числа ничего нет: пустые скобки или знак действия без числа"},
        {"'x' is not a valid floating point value",
         "«x» — не число: программа знает только числа, переменные y и z и функции со скобками"},
        {"Invalid floating point operation",
         "недопустимое действие с числами, например 0 разделили на 0: ноль, записанный как 0.0 "
         "или -0, программа заранее не узнаёт"},
        {"Floating point division by zero", "деление на ноль: делитель записан как 0.0 или -0, "
                                            "или ноль возводится в отрицательную степень"},
        {"Floating point overflow",
         "число получилось слишком большим: программа хранит числа меньше 10^308"},
        {"something else", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Cp1251ToUtf8(ExplainRaisedError(Cp(row.message))), row.explanation);
}

} // namespace
