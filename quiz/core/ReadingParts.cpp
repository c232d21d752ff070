#include "quiz/core/ReadingParts.h"

#include "engine/Cp1251.h"
#include "engine/EngineMessages.h"
#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/Functions.h"
#include "engine/NumberText.h"
#include "quiz/core/FormulaReading.h"
#include "quiz/core/QuietValue.h"
#include "quiz/core/SchoolReading.h"

#include <cmath>
#include <vector>

using namespace formulon::engine;

namespace {

// The program keeps only this many characters in front of a bracket.
constexpr std::size_t kLongestRead = 255;
// Pieces evaluated at most: a path from the whole formula down to one place.
constexpr int kMostEvaluations = 200;
// From here on the digits the program drops decide a sine, a cosine or a
// tangent taken in degrees.
constexpr long double kHugeDegrees = 1e6L;
// A piece quoted in a note is at most this long.
constexpr std::size_t kQuotedPiece = 30;
constexpr long double kY = 7, kZ = 11;

std::string Cp(const char* utf8) {
    return Utf8ToCp1251(utf8);
}

// A function that takes its argument in degrees: sin, cos or tan.
const TBuiltInFunction* TakesDegrees(const TReadNode& node) {
    const TBuiltInFunction* function =
        node.kind == TReadKind::Func ? FindBuiltInFunction(node.text) : nullptr;
    return function != nullptr && function->Degrees == TDegrees::Argument ? function : nullptr;
}

std::string TrigName(const TBuiltInFunction& function) {
    return Cp(function.Id == TFunctionId::Sin   ? "синус"
              : function.Id == TFunctionId::Cos ? "косинус"
                                                : "тангенс");
}

class TPartFinder {
public:
    TPartFinder(const std::string& typed, const TFormulaReading& reading)
        : typed_(typed), reading_(reading), school_(reading) {}

    std::optional<TReadingPart> Find() {
        int node = reading_.Root;
        if (!Parts(node))
            return std::nullopt;
        for (int next = Child(node); next >= 0; next = Child(node))
            node = next;
        return Classify(node);
    }

private:
    const TReadNode& At(int n) const { return reading_.Nodes[static_cast<std::size_t>(n)]; }

    // The program's value of the typed text [from, to], alone.
    TSchoolValue Program(int from, int to) {
        ++evaluations_;
        std::string value;
        if (!QuietFormulaValue(Piece(from, to), value) || value.empty() || IsFailureMarker(value) ||
            value == GroupFailureText)
            return {};
        try {
            const TSchoolValue result{true, ParseNumber(value)};
            ClearFloatingPointFlags();
            return result;
        } catch (const Exception&) {
            return {}; // a text left over that is no number
        }
    }

    TSchoolValue School(int n) const { return school_.NodeAt(n, kY, kZ); }

    bool Parts(int n) {
        const TReadNode& node = At(n);
        if (evaluations_ >= kMostEvaluations)
            return false;
        long double scale = 0;
        for (const int item : node.items)
            if (const TSchoolValue term = School(item); term.Defined)
                scale = std::fmax(scale, std::fabs(term.Value));
        return !SameSchoolValue(Program(node.from, node.to), School(n), scale);
    }

    // The first of the node's parts that parts itself, or -1.
    int Child(int n) {
        const TReadNode& node = At(n);
        std::vector<int> children = node.items;
        if (node.a >= 0)
            children.push_back(node.a);
        if (node.b >= 0)
            children.push_back(node.b);
        for (const int child : children)
            if (Parts(child))
                return child;
        return -1;
    }

    std::string Piece(int from, int to) const {
        return typed_.substr(static_cast<std::size_t>(from - 1),
                             static_cast<std::size_t>(to - from + 1));
    }

    // A piece as quoted in a note: without blanks, empty when too long.
    std::string Quoted(int from, int to) const {
        std::string piece;
        for (const char c : Piece(from, to))
            if (c != ' ')
                piece += c;
        return piece.size() <= kQuotedPiece ? piece : std::string();
    }
    std::string Quoted(int n) const { return Quoted(At(n).from, At(n).to); }

    std::optional<TReadingPart> Classify(int n) {
        const TReadNode& node = At(n);
        if (node.kind == TReadKind::Sum)
            return InSum(node);
        if (node.kind == TReadKind::Pow && At(node.a).kind == TReadKind::Neg)
            return SignedBase(node);
        const TSchoolValue school = School(n);
        if (!school.Defined || !Program(node.from, node.to).Defined)
            return std::nullopt;
        if (const TBuiltInFunction* function = TakesDegrees(node)) {
            const TSchoolValue argument = School(node.a);
            if (argument.Defined && std::fabs(argument.Value) >= kHugeDegrees)
                return HugeArgument(node, *function);
        }
        return Digits(node.from, node.from, node.to);
    }

    // The first term after which the sum parts, and why.
    std::optional<TReadingPart> InSum(const TReadNode& sum) {
        TSchoolValue school = School(sum.items[0]);
        long double scale = school.Defined ? std::fabs(school.Value) : 0;
        std::size_t k = 1;
        for (; k < sum.items.size(); ++k) {
            const TSchoolValue term = School(sum.items[k]);
            if (school.Defined && term.Defined) {
                school.Value += sum.ops[k - 1] == '-' ? -term.Value : term.Value;
                scale = std::fmax(scale, std::fabs(term.Value));
            } else {
                school = {};
            }
            if (k + 1 == sum.items.size() || evaluations_ >= kMostEvaluations ||
                !SameSchoolValue(Program(sum.from, At(sum.items[k]).to), school, scale))
                break;
        }
        const int term = sum.items[k];
        const int minus = sum.opAt[k - 1];
        const TReadNode& lead = LeadingFactor(term);
        if (lead.kind == TReadKind::Pow) {
            const TSchoolValue base = School(lead.a);
            if (At(lead.a).kind == TReadKind::Group && base.Defined && base.Value < 0)
                return NegativeBracket(minus, term, lead);
            if (sum.ops[k - 1] == '-')
                return SubtractedPower(sum.items[k - 1], minus, term, lead);
        }
        if (!school.Defined)
            return std::nullopt;
        return Digits(minus, minus, At(term).to);
    }

    // The operand a product or quotient starts with, down to its first factor.
    const TReadNode& LeadingFactor(int n) const {
        const TReadNode* node = &At(n);
        while (node->kind == TReadKind::Mul || node->kind == TReadKind::Div)
            node = &At(node->kind == TReadKind::Mul ? node->items.front() : node->a);
        return *node;
    }

    TReadingPart Part(TPartKind kind, int position, int to, std::string note) const {
        return {kind, position, position, to, std::move(note)};
    }

    TReadingPart SubtractedPower(int before, int minus, int term, const TReadNode& power) const {
        const std::string piece = Quoted(At(before).from, At(term).to);
        const std::string base = Quoted(power.a);
        std::string note;
        if (!piece.empty() && !base.empty())
            note = Cp("программа прочла ") + piece +
                   Cp(" не как вычитание: минус перед степенью она отнесла к основанию и возвела "
                      "в степень -") +
                   base;
        else
            note = Cp("минус перед степенью программа отнесла к основанию степени, а не к "
                      "вычитанию");
        return Part(TPartKind::SubtractedPower, minus, At(term).to, note);
    }

    TReadingPart NegativeBracket(int minus, int term, const TReadNode& power) const {
        const std::string bracket = Quoted(power.a);
        const std::string what = bracket.empty() ? Cp("скобок") : Cp("скобок ") + bracket;
        return Part(TPartKind::NegativeBracket, minus, At(term).to,
                    Cp("значение ") + what +
                        Cp(" отрицательное: программа вынесла его минус за скобки, к знаку перед "
                           "ними, и степень посчитала не так, как в математике"));
    }

    TReadingPart SignedBase(const TReadNode& power) const {
        const std::string piece = Quoted(power.from, power.to);
        const std::string base = Quoted(power.a);
        const std::string exponent = Quoted(power.b);
        std::string note;
        if (!piece.empty() && !base.empty() && !exponent.empty())
            note = Cp("программа прочла ") + piece + Cp(" как (") + base + ")^" + exponent +
                   Cp(": минус она отнесла к основанию степени, а в математике ") + piece +
                   Cp(" — это -(") + piece.substr(1) + ")";
        else
            note = Cp("минус перед степенью программа отнесла к основанию степени, а в "
                      "математике он относится ко всей степени");
        return Part(TPartKind::SignedBase, power.from, power.to, note);
    }

    TReadingPart HugeArgument(const TReadNode& call, const TBuiltInFunction& function) const {
        return Part(TPartKind::HugeArgument, call.from, call.to,
                    TrigName(function) +
                        Cp(" числа больше миллиона градусов зависит от его цифр дальше "
                           "пятнадцатой, а программа хранит у каждого числа только 15 цифр: её "
                           "значение здесь не то, что в математике"));
    }

    TReadingPart Digits(int position, int from, int to) const {
        TReadingPart part =
            Part(TPartKind::Digits, position, to,
                 Cp("здесь программа считает не так, как в математике: у каждого числа она "
                    "хранит только 15 цифр, а значение здесь зависит от дальних цифр"));
        part.From = from;
        return part;
    }

    const std::string& typed_;
    const TFormulaReading& reading_;
    TSchoolReading school_;
    int evaluations_ = 0;
};

} // namespace

bool IsMinusPower(TPartKind kind) {
    return kind == TPartKind::SignedBase || kind == TPartKind::SubtractedPower ||
           kind == TPartKind::NegativeBracket;
}

std::optional<TReadingPart> FindReadingPart(const std::string& typed) {
    if (typed.size() > kLongestRead)
        return std::nullopt;
    const TFormulaReading reading = ReadFormula(typed);
    if (!reading.Read)
        return std::nullopt;
    return TPartFinder(typed, reading).Find();
}
