#include "quiz/core/ExplanationTexts.h"

#include "engine/Cp1251.h"
#include "engine/Errors.h"
#include "quiz/core/AnswerExplanation.h"
#include "quiz/core/AnswerHints.h"
#include "quiz/core/TexFormula.h"

#include <algorithm>

using namespace formulon::engine;

namespace {

std::string Cp(const char* utf8) {
    return Utf8ToCp1251(utf8);
}

// The typeset answer, or where it cannot be read.
TTexFormula Reading(const TCheckRecord& check, const TAnswerExplanation& explanation,
                    TExplanationTexts& texts) {
    TTexMark mark;
    if (explanation.Part)
        mark = {explanation.Part->From, explanation.Part->To};
    TTexFormula tex = FormulaToTex(check.Answer, mark, check.TaskNo, check.Variant);
    if (tex.Read) {
        texts.Tex = tex.Tex;
        return tex;
    }
    const int length = static_cast<int>(check.Answer.size());
    if (tex.ProblemPos > 0)
        texts.Marks.push_back(tex.ProblemPos);
    // A blank answer has no place to name.
    if (check.Answer.find_first_not_of(' ') == std::string::npos)
        texts.Unreadable = Cp("Ответ пуст");
    else
        texts.Unreadable = PlaceName(tex.ProblemPos, length) + tex.Problem;
    return tex;
}

// The hints and notes; a hint that says why the answer cannot be read is
// said once, in place of the picture.
void Places(const TCheckRecord& check, const TAnswerExplanation& explanation,
            const TTexFormula& tex, TExplanationTexts& texts) {
    std::vector<TPlacedText> placed;
    for (const TAnswerHint& hint : HintsBeside(explanation.Hints, tex.ProblemPos, tex.Problem))
        placed.push_back({hint.Position, hint.Text});
    for (const TPlacedNote& note : explanation.Notes)
        placed.push_back({note.Position, note.Text});
    std::stable_sort(placed.begin(), placed.end(), [](const TPlacedText& a, const TPlacedText& b) {
        return a.Position < b.Position;
    });
    const int length = static_cast<int>(check.Answer.size());
    for (TPlacedText& one : placed) {
        texts.Marks.push_back(one.Position);
        one.Text = PlaceName(one.Position, length) + one.Text;
    }
    texts.Hints = std::move(placed);
    std::sort(texts.Marks.begin(), texts.Marks.end());
    texts.Marks.erase(std::unique(texts.Marks.begin(), texts.Marks.end()), texts.Marks.end());
}

void Value(const TCheckRecord& check, const TAnswerExplanation& explanation,
           TExplanationTexts& texts) {
    if (!check.AnswerDone)
        texts.Value = Cp("не вычислено");
    else if (check.AnswerValue.empty())
        texts.Value = Cp("(пустой текст)");
    else
        texts.Value = Shortened(check.AnswerValue);
    for (const std::string& line : explanation.Comparison)
        texts.Comparison.push_back(Shortened(line));
    if (!explanation.Message.empty())
        texts.Messages.push_back(Cp("Сообщение: ") + explanation.Message);
    if (check.Raised) {
        texts.Messages.push_back(Cp("Ошибка: ") + WithFullStop(check.RaisedError));
        const std::string meaning = ExplainRaisedError(check.RaisedError);
        if (!meaning.empty())
            texts.Messages.push_back(meaning);
    }
}

void Steps(const TAnswerExplanation& explanation, TExplanationTexts& texts) {
    if (!explanation.AnglesNote.empty())
        texts.Steps.push_back(explanation.AnglesNote);
    int number = 0;
    for (const TStepLine& line : explanation.Steps) {
        texts.Steps.push_back(std::to_string(++number) + ". " + line.Text);
        if (!line.Note.empty())
            texts.Steps.push_back("    " + line.Note);
    }
}

} // namespace

TExplanationTexts ExplanationTexts(const TCheckRecord& check) {
    const TAnswerExplanation explanation = ExplainCheck(check);
    TExplanationTexts texts;
    texts.Right = explanation.Right;
    texts.Raised = check.Raised;
    const TTexFormula tex = Reading(check, explanation, texts);
    Places(check, explanation, tex, texts);
    Value(check, explanation, texts);
    Steps(explanation, texts);
    return texts;
}

std::string PlaceName(int position, int length) {
    return position > length ? Cp("В конце ответа: ")
                             : Cp("Символ ") + std::to_string(position) + ": ";
}

std::string Shortened(const std::string& text) {
    constexpr std::size_t kKept = 120; // characters kept at each end
    if (text.size() <= 2 * kKept + 1)
        return text;
    return text.substr(0, kKept) + Cp(" … ") + text.substr(text.size() - kKept);
}
