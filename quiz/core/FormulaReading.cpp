#include "quiz/core/FormulaReading.h"

#include <algorithm>
#include <string_view>

#include "engine/Cp1251.h"

using namespace formulon::engine;

namespace {

// Bounds that keep reading and typesetting shallow whatever the input:
// brackets inside brackets, and levels of the typeset formula (a chain of
// powers or fractions nests one level per operator).
constexpr int kMaxNesting = 40;
constexpr int kMaxHeight = 120;

// The first problem found; 'text' is UTF-8 until the caller converts it.
struct Refusal {
    int at; // index into the text without blanks
    std::string text;
};

enum class Tok { Number, Var, Name, Op, Open, Close, End };

struct Token {
    Tok kind = Tok::End;
    std::string text;
    int at = 0;
};

TReadNode MakeNode(TReadKind kind, std::string text = "") {
    TReadNode node;
    node.kind = kind;
    node.text = std::move(text);
    return node;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsVariable(char c) {
    return c == 'y' || c == 'z';
}
bool IsKnownFunction(std::string_view name) {
    static constexpr std::string_view kNames[] = {"sin", "cos", "tan", "atn",
                                                  "log", "sqr", "exp", "abs"};
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 20;
    if (text.size() > kShown)
        return "«" + std::string(text.substr(0, kShown)) + "…»";
    return "«" + std::string(text) + "»";
}

// Reads the formula the way the engine does: blanks dropped, brackets and
// function calls as atoms, then '^', then '*' and '/', then '+' and '-',
// each level from left to right; a minus in front of a power's base belongs
// to the base (-2^2 is 4).
class Reader {
public:
    explicit Reader(const std::string& formula) {
        for (std::size_t i = 0; i < formula.size(); ++i) {
            if (formula[i] != ' ') {
                chars_ += formula[i];
                origin_.push_back(static_cast<int>(i) + 1);
            }
        }
    }

    int ReadFormula() {
        if (chars_.empty())
            throw Refusal{0, "ответ пуст"};
        const int root = ReadSum(0);
        const Token next = Peek();
        if (next.kind == Tok::Close)
            throw Refusal{next.at, "лишняя скобка «)»"};
        if (next.kind != Tok::End)
            MissingOperator(next);
        return root;
    }

    int Origin(int at) const {
        if (origin_.empty())
            return 1;
        return origin_[static_cast<std::size_t>(std::min<int>(at, origin_.size() - 1))];
    }

    std::vector<TReadNode> nodes;

private:
    enum class Sign { Any, Minus }; // which sign may stand before an operand

    Token Peek() {
        if (!peeked_) {
            next_ = Lex();
            peeked_ = true;
        }
        return next_;
    }

    Token Take() {
        const Token token = Peek();
        peeked_ = false;
        if (token.kind != Tok::End)
            lastEnd_ = token.at + static_cast<int>(token.text.size()) - 1;
        return token;
    }

    Token Lex() {
        const int size = static_cast<int>(chars_.size());
        if (pos_ >= size)
            return Token{Tok::End, "", size};
        const int start = pos_;
        const char c = chars_[static_cast<std::size_t>(pos_)];
        if (IsDigit(c) || c == '.') {
            bool digit = false, point = false;
            for (; pos_ < size; ++pos_) {
                const char d = chars_[static_cast<std::size_t>(pos_)];
                if (d == '.') {
                    if (point)
                        throw Refusal{pos_, "вторая точка в числе"};
                    point = true;
                } else if (IsDigit(d)) {
                    digit = true;
                } else {
                    break;
                }
            }
            if (!digit)
                throw Refusal{start, "точка без цифр"};
            return Token{Tok::Number, chars_.substr(start, pos_ - start), start};
        }
        if (IsVariable(c)) {
            ++pos_;
            return Token{Tok::Var, std::string(1, c), start};
        }
        if (IsLetter(c)) {
            while (pos_ < size && IsLetter(chars_[static_cast<std::size_t>(pos_)]) &&
                   !IsVariable(chars_[static_cast<std::size_t>(pos_)]))
                ++pos_;
            return Token{Tok::Name, chars_.substr(start, pos_ - start), start};
        }
        ++pos_;
        switch (c) {
        case '+':
        case '-':
        case '*':
        case '/':
        case '^':
            return Token{Tok::Op, std::string(1, c), start};
        case '(':
            return Token{Tok::Open, "(", start};
        case ')':
            return Token{Tok::Close, ")", start};
        case ',':
            throw Refusal{start, "запятая: дробную часть отделяют точкой"};
        default:
            break;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == 0x98)
            throw Refusal{start, "недопустимый знак"};
        // The character itself is code page 1251; it is spliced in after the
        // message is converted. A Russian у or х looks like the Latin letter.
        if (byte >= 0xC0 || byte == 0xA8 || byte == 0xB8)
            throw Refusal{start, "русская буква «\x01»: в формуле буквы латинские"};
        throw Refusal{start, "недопустимый знак «\x01»"};
    }

    [[noreturn]] void MissingOperator(const Token& token) {
        if (token.kind == Tok::Name && !IsKnownFunction(token.text))
            UnknownName(token);
        throw Refusal{token.at, "пропущен знак действия"};
    }

    [[noreturn]] void UnknownName(const Token& token) {
        if (token.text == "e")
            throw Refusal{token.at, "неизвестное имя «e»: число e пишут exp(1)"};
        throw Refusal{token.at, "неизвестное имя " + Quoted(token.text)};
    }

    // A node is added once its last token is taken, so that token ends it.
    int Add(TReadNode node) {
        if (node.height > kMaxHeight)
            throw Refusal{lastOp_, "формула слишком сложна для показа"};
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

    bool IsOp(const Token& token, std::string_view ops) const {
        return token.kind == Tok::Op && ops.find(token.text[0]) != std::string_view::npos;
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
            const Token op = Take();
            const int term = ReadProduct(level, Sign::Minus, &op);
            sum.items.push_back(term);
            sum.ops += op.text;
            sum.opAt.push_back(op.at);
            sum.height = std::max(sum.height, Height(term) + 1);
        }
        return Add(std::move(sum));
    }

    int ReadProduct(int level, Sign sign, const Token* before) {
        int product = ReadPower(level, sign, before);
        bool isMul = false; // 'product' is a Mul made here, open for more factors
        while (IsOp(Peek(), "*/")) {
            const Token op = Take();
            const int factor = ReadPower(level, Sign::Minus, &op);
            if (op.text == "/") {
                product = Pair(TReadKind::Div, product, factor, op.at);
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
                lastOp_ = op.at;
                product = Add(std::move(mul));
                isMul = true;
            }
        }
        return product;
    }

    int ReadPower(int level, Sign sign, const Token* before) {
        int power = ReadSigned(level, sign, before);
        while (IsOp(Peek(), "^")) {
            const Token op = Take();
            const int exponent = ReadSigned(level, Sign::Minus, &op);
            power = Pair(TReadKind::Pow, power, exponent, op.at);
        }
        return power;
    }

    // An operand with its sign, if any: '-' after an operator or at the
    // start, '+' only at the start of the formula or of a group.
    int ReadSigned(int level, Sign sign, const Token* before) {
        const Token next = Peek();
        if (next.kind != Tok::Op)
            return ReadAtom(level, before);
        if (next.text == "-" || (next.text == "+" && sign == Sign::Any)) {
            const Token op = Take();
            if (Peek().kind == Tok::Op)
                throw Refusal{Peek().at, "два знака действия подряд"};
            return Wrap(op.text == "-" ? TReadKind::Neg : TReadKind::Pos, ReadAtom(level, &op),
                        op.at);
        }
        if (before != nullptr)
            throw Refusal{next.at, "два знака действия подряд"};
        throw Refusal{next.at, "нет числа перед знаком «" + next.text + "»"};
    }

    int ReadAtom(int level, const Token* before) {
        const Token next = Peek();
        switch (next.kind) {
        case Tok::Number:
        case Tok::Var:
            Take();
            return Leaf(next);
        case Tok::Open:
            return Wrap(TReadKind::Group, ReadGroup(level), next.at);
        case Tok::Name:
            return ReadCall(level);
        default:
            break;
        }
        if (before != nullptr)
            throw Refusal{before->at, "нет числа после знака «" + before->text + "»"};
        throw Refusal{next.at, "пропущено число"};
    }

    int Leaf(const Token& token) {
        TReadNode node =
            MakeNode(token.kind == Tok::Number ? TReadKind::Num : TReadKind::Var, token.text);
        node.from = token.at;
        return Add(std::move(node));
    }

    // A group's inside; the caller keeps the brackets.
    int ReadGroup(int level) {
        const Token open = Take();
        if (level + 1 > kMaxNesting)
            throw Refusal{open.at, "слишком много скобок внутри скобок"};
        if (Peek().kind == Tok::Close)
            throw Refusal{open.at, "пустые скобки"};
        const int inside = ReadSum(level + 1);
        const Token close = Peek();
        if (close.kind == Tok::End)
            throw Refusal{open.at, "не хватает скобки «)»"};
        if (close.kind != Tok::Close)
            MissingOperator(close);
        Take();
        return inside;
    }

    // A function applies to the bracket group after its name; a variable
    // right after the name is read as that group too (siny is sin(y)).
    int ReadCall(int level) {
        const Token name = Take();
        if (!IsKnownFunction(name.text))
            UnknownName(name);
        const Token next = Peek();
        if (next.kind == Tok::Open)
            return Wrap(TReadKind::Func, ReadGroup(level), name.at, name.text);
        if (next.kind == Tok::Var) {
            Take();
            return Wrap(TReadKind::Func, Leaf(next), name.at, name.text);
        }
        // sin^2(x), as school writes it: said as the hint says it.
        if (next.kind == Tok::Op && next.text == "^")
            throw Refusal{next.at, "степень функции пишут после её скобок: " + name.text + "(…)^…"};
        throw Refusal{name.at, "после " + Quoted(name.text) + " нужна скобка «(»"};
    }

    std::string chars_;
    std::vector<int> origin_;
    int pos_ = 0;
    bool peeked_ = false;
    Token next_;
    int lastOp_ = 0;
    int lastEnd_ = 0; // where the last token taken ends
};

std::string Describe(const Refusal& refusal, const std::string& formula, int position) {
    std::string text = Utf8ToCp1251(refusal.text);
    const std::size_t mark = text.find('\x01');
    if (mark != std::string::npos)
        text[mark] = formula[static_cast<std::size_t>(position - 1)];
    return text;
}

} // namespace

TFormulaReading ReadFormula(const std::string& formula) {
    TFormulaReading reading;
    Reader reader(formula);
    try {
        reading.Root = reader.ReadFormula();
        reading.Nodes = std::move(reader.nodes);
        for (TReadNode& node : reading.Nodes) {
            node.from = reader.Origin(node.from);
            node.to = reader.Origin(node.to);
            for (int& at : node.opAt)
                at = reader.Origin(at);
        }
        reading.Read = true;
    } catch (const Refusal& refusal) {
        reading.ProblemPos = reader.Origin(refusal.at);
        reading.Problem = Describe(refusal, formula, reading.ProblemPos);
    }
    return reading;
}
