// The answer typesetter on arbitrary bytes: it reads or names a problem,
// and what it hands to the typesetter is well-formed TeX of a few known
// characters, never the input's own bytes. The hints and the place where
// the program reads the same bytes differently point inside them.
// The typeset answer, and the bytes taken as TeX, are spoken in words: no
// letter, digit or sign of BASIC notation.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "quiz/core/AnswerHints.h"
#include "quiz/core/ReadingParts.h"
#include "quiz/core/SpokenFormula.h"
#include "quiz/core/TexFormula.h"

namespace {

bool WellFormed(const std::string& tex) {
    constexpr std::string_view kAllowed = "\\{}()^|+-, ";
    int depth = 0;
    for (char c : tex) {
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum && kAllowed.find(c) == std::string_view::npos)
            return false;
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        if (depth < 0)
            return false;
    }
    return depth == 0 && !tex.empty();
}

// Every hint has a text and a place in the answer or just past its end; a
// place the program reads differently lies within the answer, on the
// stretch its note speaks of.
void CheckPlaces(const std::string& formula) {
    const auto size = static_cast<int>(formula.size());
    for (const TAnswerHint& hint : FindHints(formula, 2, 1))
        if (hint.Text.empty() || hint.Position < 1 || hint.Position > size + 1)
            __builtin_trap();
    if (const std::optional<TReadingPart> part = FindReadingPart(formula))
        if (part->Note.empty() || part->From < 1 || part->From > part->Position ||
            part->Position > part->To || part->To > size)
            __builtin_trap();
}

void CheckSpoken(const std::string& speech) {
    for (char c : speech)
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
            c == '^' || c == '*' || c == '/')
            __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The answer box holds at most 32,767 characters.
    if (size > 32767)
        return -1;
    const std::string formula(reinterpret_cast<const char*>(data), size);
    const TTexFormula result = FormulaToTex(formula);
    CheckPlaces(formula);
    CheckSpoken(SpokenTex(formula));
    if (result.Read) {
        if (!WellFormed(result.Tex) || !result.Problem.empty())
            __builtin_trap();
        const std::string speech = SpokenTex(result.Tex);
        if (speech.empty())
            __builtin_trap();
        CheckSpoken(speech);
        return 0;
    }
    // A place in the answer, or just past it for what is missing there.
    const auto length = static_cast<int>(formula.size());
    if (result.Problem.empty() || result.ProblemPos < 1 || result.ProblemPos > length + 1)
        __builtin_trap();
    // The mark falls on a character the pupil typed, not on a blank.
    if (result.ProblemPos <= length && formula.find_first_not_of(' ') != std::string::npos &&
        formula[static_cast<std::size_t>(result.ProblemPos - 1)] == ' ')
        __builtin_trap();
    return 0;
}
