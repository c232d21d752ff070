#include "quiz/core/TexFormula.h"

#include <string_view>

#include "quiz/core/AnswerHints.h"
#include "quiz/core/FormulaReading.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A sign or a letter before a text. Built by appending: gcc 12 at -O3 warns falsely
// (-Wrestrict) about "literal" + string.
std::string Prefixed(std::string_view sign, const std::string& text) {
    std::string joined(sign);
    joined += text;
    return joined;
}

// Typesets a reading in the conventions of the task pictures.
class Typesetter {
public:
    Typesetter(const std::vector<TReadNode>& nodes, TTexMark mark) : nodes_(nodes), mark_(mark) {}

    // 'leading': the node starts its expression, so a minus in front of it
    // needs no brackets.
    std::string Tex(int n, bool leading = true) const {
        const TReadNode& node = At(n);
        if (Marks(node.from, node.to))
            return Boxed(Unmarked(n, leading));
        return Unmarked(n, leading);
    }

private:
    bool Marks(int from, int to) const {
        if (marked_ || from != mark_.From || to != mark_.To)
            return false;
        marked_ = true;
        return true;
    }

    static std::string Boxed(const std::string& tex) { return "\\boxed{" + tex + "}"; }

    std::string Unmarked(int n, bool leading) const {
        const TReadNode& node = At(n);
        switch (node.kind) {
        case TReadKind::Num:
            return Number(node.text);
        case TReadKind::Var:
            return node.text;
        case TReadKind::Group:
            return Paren(Tex(node.a));
        case TReadKind::Func:
            return Function(node, "");
        case TReadKind::Neg:
            return Prefixed("-", Tex(node.a));
        case TReadKind::Pos:
            return Prefixed("+", Tex(node.a));
        case TReadKind::Pow:
            return Power(node);
        case TReadKind::Div:
            return "\\frac{" + Bare(node.a) + "}{" + Bare(node.b) + "}";
        case TReadKind::Mul:
            return Product(node, leading);
        case TReadKind::Sum:
            return Sum(node);
        }
        return "";
    }

    const TReadNode& At(int n) const { return nodes_[static_cast<std::size_t>(n)]; }
    bool IsSigned(int n) const {
        return At(n).kind == TReadKind::Neg || At(n).kind == TReadKind::Pos;
    }

    static std::string Number(const std::string& text) {
        std::string tex;
        for (char c : text)
            tex += c == '.' ? std::string("{,}") : std::string(1, c);
        return tex;
    }

    static bool Tall(const std::string& tex) {
        for (std::string_view mark : {"\\frac", "\\sqrt", "\\left", "^{"})
            if (tex.find(mark) != std::string::npos)
                return true;
        return false;
    }

    static std::string Paren(const std::string& tex) {
        return Tall(tex) ? "\\left(" + tex + "\\right)" : "(" + tex + ")";
    }

    static std::string Sup(const std::string& tex) {
        return tex.size() == 1 ? "^" + tex : "^{" + tex + "}";
    }

    // Where the layout shows the grouping (a fraction's parts, an
    // exponent), a typed bracket pair around the whole part is not drawn.
    std::string Bare(int n) const { return At(n).kind == TReadKind::Group ? Tex(At(n).a) : Tex(n); }

    static std::string_view NamedFunction(const std::string& name) {
        if (name == "sin")
            return "\\sin";
        if (name == "cos")
            return "\\cos";
        if (name == "tan")
            return "\\tg";
        if (name == "atn")
            return "\\arctg";
        if (name == "log")
            return "\\ln";
        return "";
    }

    // 'power' is the exponent set on the function's name (sin²x), if any.
    std::string Function(const TReadNode& node, const std::string& power) const {
        const std::string inside = Tex(node.a);
        if (node.text == "sqr")
            return "\\sqrt{" + inside + "}";
        // Bars inside bars pair up ambiguously (|2|y||): the outer pair is sized.
        if (node.text == "abs")
            return Tall(inside) || inside.find('|') != std::string::npos
                       ? "\\left|" + inside + "\\right|"
                       : "|" + inside + "|";
        if (node.text == "exp")
            return At(node.a).kind == TReadKind::Num && inside == "1" ? "e"
                                                                      : Prefixed("e", Sup(inside));
        std::string tex(NamedFunction(node.text));
        if (!power.empty())
            tex += Sup(power);
        if (At(node.a).kind == TReadKind::Var)
            return tex + " " + inside;
        return tex +
               (Tall(inside) ? "\\mathopen{}\\left(" + inside + "\\right)" : "(" + inside + ")");
    }

    std::string Power(const TReadNode& node) const {
        const std::string exponent = Bare(node.b);
        const TReadNode& base = At(node.a);
        const bool named = base.kind == TReadKind::Func && !NamedFunction(base.text).empty();
        // sin^-1 would read as the inverse function: such a power stays outside.
        if (named && !IsSigned(node.b))
            return Function(base, exponent);
        std::string tex = Tex(node.a);
        const bool bracketed = named || base.kind == TReadKind::Neg ||
                               base.kind == TReadKind::Pos || base.kind == TReadKind::Pow ||
                               (base.kind == TReadKind::Func &&
                                (base.text == "sqr" || (base.text == "exp" && tex != "e")));
        if (bracketed)
            tex = Paren(tex);
        return tex + Sup(exponent);
    }

    // Factors side by side, with a dot where juxtaposition would misread:
    // before a digit, a fraction or a signed factor, and after a function
    // whose argument stands without brackets.
    std::string Product(const TReadNode& node, bool leading) const {
        std::string tex;
        std::string previous;
        for (std::size_t i = 0; i < node.items.size(); ++i) {
            const int item = node.items[i];
            std::string factor = Tex(item, leading && i == 0);
            if (IsSigned(item) && !(leading && i == 0))
                factor = Paren(factor);
            if (i > 0) {
                const bool dot = IsDigit(factor[0]) || factor[0] == '{' || IsSigned(item) ||
                                 At(item).kind == TReadKind::Div ||
                                 EndsWithBareArgument(previous) ||
                                 (At(item).kind == TReadKind::Group && IsCall(node.items[i - 1])) ||
                                 (previous.back() == '|' && IsAbs(item));
                if (dot)
                    tex += "\\cdot ";
            }
            tex += factor;
            previous = factor;
        }
        return tex;
    }

    // Two absolute values side by side would read as one: |y||z|.
    bool IsAbs(int n) const {
        const TReadNode& node = At(n);
        const TReadNode& base = node.kind == TReadKind::Pow ? At(node.a) : node;
        return base.kind == TReadKind::Func && base.text == "abs";
    }

    // A bracket group right after a call would read as its argument.
    bool IsCall(int n) const {
        const TReadNode& node = At(n);
        return node.kind == TReadKind::Func ||
               (node.kind == TReadKind::Pow && At(node.a).kind == TReadKind::Func);
    }

    static bool EndsWithBareArgument(const std::string& tex) {
        return tex.size() >= 2 && tex[tex.size() - 2] == ' ' &&
               (tex.back() == 'y' || tex.back() == 'z');
    }

    std::string Sum(const TReadNode& node) const {
        std::string tex = Tex(node.items[0]);
        for (std::size_t i = 1; i < node.items.size(); ++i) {
            const int item = node.items[i];
            // A sign and its term may be marked together.
            const bool marked = Marks(node.opAt[i - 1], At(item).to);
            std::string term(1, node.ops[i - 1]);
            term += IsSigned(item) ? Paren(Tex(item)) : Tex(item, false);
            tex += marked ? Boxed(term) : term;
        }
        return tex;
    }

    const std::vector<TReadNode>& nodes_;
    TTexMark mark_;
    mutable bool marked_ = false; // a mark is drawn once
};

} // namespace

TTexFormula FormulaToTex(const std::string& formula, TTexMark mark, int task, int variant,
                         const TTaskTable& tasks) {
    const TFormulaReading reading = ReadFormula(formula);
    TTexFormula result;
    result.Read = reading.Read;
    result.ProblemPos = reading.ProblemPos;
    if (reading.Read)
        result.Tex = Typesetter(reading.Nodes, mark).Tex(reading.Root);
    else
        result.Problem = ReadingProblemText(formula, reading, task, variant, tasks);
    return result;
}
