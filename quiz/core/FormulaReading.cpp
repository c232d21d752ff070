#include "quiz/core/FormulaReading.h"

#include <algorithm>
#include <string_view>

#include "engine/Cp1251.h"
#include "quiz/core/FormulaTokens.h"

using namespace formulon::engine;

namespace {

// Bounds that keep reading and typesetting shallow whatever the input:
// brackets inside brackets, and levels of the typeset formula (a chain of
// powers or fractions nests one level per operator).
constexpr int kMaxNesting = 40;
constexpr int kMaxHeight = 120;

using K = TTokenKind;

// The first problem found; 'text' is UTF-8 until the caller converts it,
// \x01 standing for the character at 'at'.
struct Refusal {
    TReadRefusal kind;
    int at; // 1-based in the typed text
    std::string text;
};

TReadNode MakeNode(TReadKind kind, std::string text = "") {
    TReadNode node;
    node.kind = kind;
    node.text = std::move(text);
    return node;
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 20;
    if (text.size() > kShown)
        return "«" + std::string(text.substr(0, kShown)) + "…»";
    return "«" + std::string(text) + "»";
}

// Why a token no formula holds cannot be used, or nothing.
void RefuseUnusable(const TFormulaToken& token, const std::string& typed) {
    if (token.RussianAt > 0 || token.Kind == K::Russian)
        throw Refusal{TReadRefusal::RussianLetter, token.RussianAt > 0 ? token.RussianAt : token.At,
                      "русская буква «\x01»: в формуле буквы латинские"};
    if (token.Kind == K::Comma)
        throw Refusal{TReadRefusal::Comma, token.At, "запятая: дробную часть отделяют точкой"};
    if (token.Kind == K::Colon || token.Kind == K::Bar || token.Kind == K::Other) {
        const auto byte = static_cast<unsigned char>(token.Text[0]);
        if (byte < 0x20 || byte == 0x7F || byte == 0x98)
            throw Refusal{TReadRefusal::BadCharacter, token.At, "недопустимый знак"};
        throw Refusal{TReadRefusal::BadCharacter, token.At, "недопустимый знак «\x01»"};
    }
    if (token.Kind != K::Number || !token.Malformed)
        return;
    if (std::count(token.Text.begin(), token.Text.end(), '.') < 2)
        throw Refusal{TReadRefusal::PointWithoutDigits, token.At, "точка без цифр"};
    const std::size_t first = typed.find('.', static_cast<std::size_t>(token.At - 1));
    throw Refusal{TReadRefusal::SecondPoint, static_cast<int>(typed.find('.', first + 1)) + 1,
                  "вторая точка в числе"};
}

// Reads the formula the way the engine does: brackets and function calls
// as atoms, then '^', then '*' and '/', then '+' and '-', each level from
// left to right; a minus in front of a power's base belongs to the base
// (-2^2 is 4). Every built-in function takes one argument, its bracket
// group.
class Reader {
public:
    explicit Reader(const TFormulaTokens& tokens) : t_(tokens) {}

    int ReadFormula() {
        if (t_.Count() == 0)
            throw Refusal{TReadRefusal::Empty, 1, "ответ пуст"};
        const int root = ReadSum(0);
        const TFormulaToken& next = Peek();
        if (next.Is(K::Close))
            throw Refusal{TReadRefusal::ExtraBracket, next.At, "лишняя скобка «)»"};
        if (!next.Is(K::End))
            MissingOperator(next);
        return root;
    }

    std::vector<TReadNode> nodes;

private:
    enum class Sign { Any, Minus }; // which sign may stand before an operand

    const TFormulaToken& Peek() const {
        const TFormulaToken& token = t_[next_];
        RefuseUnusable(token, t_.Typed());
        return token;
    }

    const TFormulaToken& Take() {
        const TFormulaToken& token = Peek();
        ++next_;
        if (!token.Is(K::End))
            lastEnd_ = token.Last;
        return token;
    }

    [[noreturn]] void MissingOperator(const TFormulaToken& token) const {
        if (token.Is(K::Word) && !IsKnownFunctionName(token.Text))
            UnknownName(token);
        throw Refusal{TReadRefusal::MissingOperator, token.At, "пропущен знак действия"};
    }

    [[noreturn]] static void UnknownName(const TFormulaToken& token) {
        if (token.Text == "e")
            throw Refusal{TReadRefusal::UnknownName, token.At,
                          "неизвестное имя «e»: число e пишут exp(1)"};
        throw Refusal{TReadRefusal::UnknownName, token.At, "неизвестное имя " + Quoted(token.Text)};
    }

    // A node is added once its last token is taken, so that token ends it.
    int Add(TReadNode node) {
        if (node.height > kMaxHeight)
            throw Refusal{TReadRefusal::TooComplex, lastOp_, "формула слишком сложна для показа"};
        node.to = lastEnd_;
        nodes.push_back(std::move(node));
        return static_cast<int>(nodes.size()) - 1;
    }

    int Height(int n) const { return nodes[static_cast<std::size_t>(n)].height; }
    int From(int n) const { return nodes[static_cast<std::size_t>(n)].from; }

    // 'from': where the node starts, when before its inside (a bracket, a
    // name, a sign).
    int Wrap(TReadKind kind, int inside, int from, std::string text = "") {
        TReadNode node = MakeNode(kind, std::move(text));
        node.a = inside;
        node.from = from;
        node.height = Height(inside) + 1;
        return Add(std::move(node));
    }

    int Pair(TReadKind kind, int left, int right, int at) {
        TReadNode node = MakeNode(kind);
        node.a = left;
        node.b = right;
        node.from = From(left);
        node.height = std::max(Height(left), Height(right)) + 1;
        lastOp_ = at;
        return Add(std::move(node));
    }

    static bool IsOp(const TFormulaToken& token, std::string_view ops) {
        return token.Is(K::Op) && ops.find(token.Text[0]) != std::string_view::npos;
    }

    int ReadSum(int level) {
        const int first = ReadProduct(level, Sign::Any, nullptr);
        if (!IsOp(Peek(), "+-"))
            return first;
        TReadNode sum = MakeNode(TReadKind::Sum);
        sum.from = From(first);
        sum.items.push_back(first);
        sum.height = Height(first) + 1;
        while (IsOp(Peek(), "+-")) {
            const TFormulaToken& op = Take();
            const int term = ReadProduct(level, Sign::Minus, &op);
            sum.items.push_back(term);
            sum.ops += op.Text;
            sum.opAt.push_back(op.At);
            sum.height = std::max(sum.height, Height(term) + 1);
        }
        return Add(std::move(sum));
    }

    int ReadProduct(int level, Sign sign, const TFormulaToken* before) {
        int product = ReadPower(level, sign, before);
        bool isMul = false; // 'product' is a Mul made here, open for more factors
        while (IsOp(Peek(), "*/")) {
            const TFormulaToken& op = Take();
            const int factor = ReadPower(level, Sign::Minus, &op);
            if (op.Text == "/") {
                product = Pair(TReadKind::Div, product, factor, op.At);
                isMul = false;
            } else if (isMul) {
                TReadNode& mul = nodes[static_cast<std::size_t>(product)];
                mul.items.push_back(factor);
                mul.height = std::max(mul.height, Height(factor) + 1);
                mul.to = lastEnd_;
            } else {
                TReadNode mul = MakeNode(TReadKind::Mul);
                mul.items = {product, factor};
                mul.from = From(product);
                mul.height = std::max(Height(product), Height(factor)) + 1;
                lastOp_ = op.At;
                product = Add(std::move(mul));
                isMul = true;
            }
        }
        return product;
    }

    int ReadPower(int level, Sign sign, const TFormulaToken* before) {
        int power = ReadSigned(level, sign, before);
        while (IsOp(Peek(), "^")) {
            const TFormulaToken& op = Take();
            const int exponent = ReadSigned(level, Sign::Minus, &op);
            power = Pair(TReadKind::Pow, power, exponent, op.At);
        }
        return power;
    }

    // An operand with its sign, if any: '-' after an operator or at the
    // start, '+' only at the start of the formula or of a group.
    int ReadSigned(int level, Sign sign, const TFormulaToken* before) {
        const TFormulaToken& next = Peek();
        if (!next.Is(K::Op))
            return ReadAtom(level, before);
        if (next.Text == "-" || (next.Text == "+" && sign == Sign::Any)) {
            const TFormulaToken& op = Take();
            if (Peek().Is(K::Op))
                throw Refusal{TReadRefusal::TwoSigns, Peek().At, "два знака действия подряд"};
            return Wrap(op.Text == "-" ? TReadKind::Neg : TReadKind::Pos, ReadAtom(level, &op),
                        op.At);
        }
        if (before != nullptr && before->Text == "*" && next.Text == "*")
            throw Refusal{TReadRefusal::DoubleStar, before->At, "два знака действия подряд"};
        if (before != nullptr)
            throw Refusal{TReadRefusal::TwoSigns, next.At, "два знака действия подряд"};
        throw Refusal{TReadRefusal::NoNumberBefore, next.At,
                      "нет числа перед знаком «" + next.Text + "»"};
    }

    int ReadAtom(int level, const TFormulaToken* before) {
        const TFormulaToken& next = Peek();
        switch (next.Kind) {
        case K::Number:
        case K::Var:
            Take();
            return Leaf(next);
        case K::Open:
            return Wrap(TReadKind::Group, ReadGroup(level), next.At);
        case K::Word:
            return ReadCall(level);
        default:
            break;
        }
        if (before != nullptr)
            throw Refusal{TReadRefusal::NoNumberAfter, before->At,
                          "нет числа после знака «" + before->Text + "»"};
        throw Refusal{TReadRefusal::MissingNumber, next.At, "пропущено число"};
    }

    int Leaf(const TFormulaToken& token) {
        TReadNode node =
            MakeNode(token.Is(K::Number) ? TReadKind::Num : TReadKind::Var, token.Text);
        node.from = token.At;
        return Add(std::move(node));
    }

    // A group's inside; the caller keeps the brackets.
    int ReadGroup(int level) {
        const TFormulaToken& open = Take();
        if (level + 1 > kMaxNesting)
            throw Refusal{TReadRefusal::TooDeep, open.At, "слишком много скобок внутри скобок"};
        if (Peek().Is(K::Close))
            throw Refusal{TReadRefusal::EmptyBrackets, open.At, "пустые скобки"};
        const int inside = ReadSum(level + 1);
        const TFormulaToken& close = Peek();
        if (close.Is(K::End))
            throw Refusal{TReadRefusal::UnclosedBracket, open.At, "не хватает скобки «)»"};
        if (!close.Is(K::Close))
            MissingOperator(close);
        Take();
        return inside;
    }

    // A function applies to the bracket group after its name; a variable
    // right after the name is read as that group too (siny is sin(y)).
    int ReadCall(int level) {
        const TFormulaToken& name = Take();
        if (!IsKnownFunctionName(name.Text))
            UnknownName(name);
        const TFormulaToken& next = Peek();
        if (next.Is(K::Open))
            return Wrap(TReadKind::Func, ReadGroup(level), name.At, name.Text);
        if (next.Is(K::Var)) {
            Take();
            return Wrap(TReadKind::Func, Leaf(next), name.At, name.Text);
        }
        // sin^2(x), as school writes it: said as the hint says it.
        if (IsOp(next, "^"))
            throw Refusal{TReadRefusal::FunctionPower, next.At,
                          "степень функции пишут после её скобок: " + name.Text + "(…)^…"};
        throw Refusal{TReadRefusal::NoBracket, next.At,
                      "после " + Quoted(name.Text) + " нужна скобка «(»"};
    }

    const TFormulaTokens& t_;
    int next_ = 0;    // the next token's index
    int lastOp_ = 0;  // where the last operator read stands
    int lastEnd_ = 0; // where the last token taken ends
};

std::string Describe(const Refusal& refusal, const std::string& formula) {
    std::string text = Utf8ToCp1251(refusal.text);
    const std::size_t mark = text.find('\x01');
    if (mark != std::string::npos)
        text[mark] = formula[static_cast<std::size_t>(refusal.at - 1)];
    return text;
}

} // namespace

TFormulaReading ReadFormula(const std::string& formula) {
    TFormulaReading reading;
    const TFormulaTokens tokens(formula);
    Reader reader(tokens);
    try {
        reading.Root = reader.ReadFormula();
        reading.Nodes = std::move(reader.nodes);
        reading.Read = true;
    } catch (const Refusal& refusal) {
        reading.ProblemPos = refusal.at;
        reading.Refusal = refusal.kind;
        reading.Problem = Describe(refusal, formula);
    }
    return reading;
}
