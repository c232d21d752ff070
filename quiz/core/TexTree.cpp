#include "quiz/core/TexTree.h"

#include <algorithm>
#include <iterator>

namespace {

// Deeper than any picture's TeX (the answers' typesetter stops far sooner);
// keeps the reading and its speech off the end of the stack.
constexpr int kMaxDepth = 500;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

template <std::size_t N> bool OneOf(const std::string_view (&names)[N], std::string_view name) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

constexpr std::string_view kFunctions[] = {"sin",    "cos",    "tg",     "tan",   "ctg",
                                           "cot",    "arcsin", "arccos", "arctg", "arctan",
                                           "arcctg", "ln",     "lg",     "log",   "exp"};

// Commands that draw nothing a listener needs: spacing, sizes, line breaks.
constexpr std::string_view kSilent[] = {
    "mathopen", "mathclose", "displaystyle", "textstyle", "limits", "nolimits", "quad",
    "qquad",    "big",       "Big",          "bigg",      "Bigg",   "bigl",     "bigr",
    "Bigl",     "Bigr",      "\\",           ",",         ";",      ":",        "!",
    " "};

// Commands followed by an argument that draws nothing either.
constexpr std::string_view kSilentWithArgument[] = {"begin", "end", "leftroot", "uproot"};

enum class Close { End, Brace, Paren, Bracket, Right, Bar };

class Reader {
public:
    explicit Reader(std::string_view tex) : tex_(tex) {}

    TTexTree Read() {
        tree_.Root = Row(Close::End);
        return std::move(tree_);
    }

private:
    struct Depth {
        explicit Depth(int& depth) : depth_(depth) { ++depth_; }
        ~Depth() { --depth_; }
        int& depth_;
    };

    bool AtEnd() const { return pos_ >= tex_.size(); }
    char Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < tex_.size() ? tex_[pos_ + ahead] : '\0';
    }
    bool LooksAt(std::string_view text) const { return tex_.substr(pos_).starts_with(text); }

    // The name of the command at the current place: letters, or the one
    // character after the backslash; empty when no command starts here.
    std::string_view Command() const {
        if (Peek() != '\\')
            return {};
        std::size_t end = pos_ + 1;
        while (end < tex_.size() && IsLetter(tex_[end]))
            ++end;
        if (end == pos_ + 1 && end < tex_.size())
            ++end;
        return tex_.substr(pos_ + 1, end - pos_ - 1);
    }
    void Take(std::string_view command) { pos_ += 1 + command.size(); }

    int Add(TTexNode node) {
        tree_.Nodes.push_back(std::move(node));
        return static_cast<int>(tree_.Nodes.size()) - 1;
    }
    int AddText(TTexKind kind, std::string text) {
        TTexNode node;
        node.kind = kind;
        node.text = std::move(text);
        return Add(std::move(node));
    }

    void SkipBraced() {
        SkipSilent();
        if (Peek() != '{')
            return;
        const std::size_t end = tex_.find('}', pos_);
        pos_ = end == std::string_view::npos ? tex_.size() : end + 1;
    }

    void SkipSilent() {
        while (!AtEnd()) {
            const char c = Peek();
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '&' || c == '~') {
                ++pos_;
            } else if (LooksAt("{}")) {
                pos_ += 2;
            } else if (const std::string_view name = Command(); OneOf(kSilent, name)) {
                Take(name);
            } else if (OneOf(kSilentWithArgument, name)) {
                Take(name);
                SkipBraced();
            } else {
                return;
            }
        }
    }

    std::string TakeSign() {
        const char c = Peek();
        if (c == '+' || c == '-' || c == '=' || c == '<' || c == '>' || c == '*' || c == '/' ||
            c == ',') {
            ++pos_;
            return std::string(1, c);
        }
        const std::string_view name = Command();
        if (name == "cdot" || name == "times") {
            Take(name);
            return "*";
        }
        if (name == "div") {
            Take(name);
            return "/";
        }
        return {};
    }

    bool EndsWithOperand(const TTexNode& row) const {
        return !row.items.empty() && tree_[row.items.back()].kind != TTexKind::Sign;
    }

    // The closing of a \left: \right and its delimiter.
    void TakeRight() {
        Take("right");
        SkipSilent();
        if (!Command().empty())
            Take(Command());
        else if (!AtEnd())
            ++pos_;
    }

    // Reads up to 'close' and past it; the end of the text closes anything.
    int Row(Close close) {
        const Depth depth(depth_);
        TTexNode row;
        if (depth_ > kMaxDepth)
            pos_ = tex_.size();
        for (;;) {
            SkipSilent();
            if (AtEnd())
                break;
            const char c = Peek();
            if (c == '}') {
                ++pos_;
                if (close == Close::Brace)
                    break;
                continue;
            }
            if ((c == ')' && close == Close::Paren) || (c == ']' && close == Close::Bracket) ||
                (c == '|' && close == Close::Bar && EndsWithOperand(row))) {
                ++pos_;
                break;
            }
            if (Command() == "right") {
                TakeRight();
                if (close == Close::Right)
                    break;
                continue;
            }
            if (const std::string sign = TakeSign(); !sign.empty()) {
                // A product broken over two lines shows its dot on both.
                const bool repeated = sign == "*" && !row.items.empty() &&
                                      tree_[row.items.back()].kind == TTexKind::Sign &&
                                      tree_[row.items.back()].text == "*";
                if (!repeated)
                    row.items.push_back(AddText(TTexKind::Sign, sign));
                continue;
            }
            if (c == '^' || c == '_') { // nothing written below it
                ++pos_;
                TTexNode power;
                power.kind = c == '^' ? TTexKind::Power : TTexKind::Index;
                power.b = Argument();
                row.items.push_back(Add(std::move(power)));
                continue;
            }
            if (const int atom = Atom(); atom >= 0)
                row.items.push_back(atom);
        }
        return Add(std::move(row));
    }

    int Enclosed(TTexKind kind, std::string brackets, Close close) {
        TTexNode node;
        node.kind = kind;
        node.text = std::move(brackets);
        node.a = Row(close);
        return Add(std::move(node));
    }

    // An operand with its exponent and index (x_1^2). A further exponent
    // stands on its own, so the tree is no deeper than the text is nested.
    int Atom() {
        int base = Primary();
        if (base < 0)
            return -1;
        int scripts = 0;
        for (;;) {
            SkipSilent();
            const char c = Peek();
            if (c == '\'') {
                ++pos_;
                continue;
            }
            if ((c != '^' && c != '_') || scripts == 2)
                return base;
            ++scripts;
            ++pos_;
            TTexNode power;
            power.kind = c == '^' ? TTexKind::Power : TTexKind::Index;
            power.a = base;
            power.b = Argument();
            base = Add(std::move(power));
        }
    }

    // A command's or an exponent's argument: a braced group or one token.
    int Argument() {
        SkipSilent();
        if (Peek() == '{') {
            ++pos_;
            return Row(Close::Brace);
        }
        if (IsDigit(Peek())) {
            ++pos_;
            return AddText(TTexKind::Number, std::string(1, tex_[pos_ - 1]));
        }
        return AtEnd() ? -1 : Primary();
    }

    // Always moves on, by one character at least.
    int Primary() {
        const Depth depth(depth_);
        if (depth_ > kMaxDepth) {
            pos_ = tex_.size();
            return -1;
        }
        const char c = Peek();
        if (IsDigit(c) || (c == '.' && IsDigit(Peek(1))) || LooksAt("{,}"))
            return Number();
        ++pos_;
        if (IsLetter(c))
            return AddText(TTexKind::Letter, std::string(1, c));
        switch (c) {
        case '(':
            return Enclosed(TTexKind::Group, "()", Close::Paren);
        case '[':
            return Enclosed(TTexKind::Group, "[]", Close::Bracket);
        case '|':
            return Enclosed(TTexKind::Abs, "", Close::Bar);
        case '{':
            return Row(Close::Brace);
        case ')':
        case ']':
            return AddText(TTexKind::Symbol, std::string(1, c));
        case '\\':
            --pos_;
            return CommandAtom();
        default:
            return -1; // drawn as nothing this reading can name
        }
    }

    int Number() {
        std::string text;
        bool separator = false;
        for (;;) {
            if (IsDigit(Peek())) {
                text += Peek();
                ++pos_;
            } else if (!separator && LooksAt("{,}")) {
                text += ',';
                pos_ += 3;
                separator = true;
            } else if (!separator && Peek() == '.' && IsDigit(Peek(1))) {
                text += ',';
                ++pos_;
                separator = true;
            } else {
                return AddText(TTexKind::Number, std::move(text));
            }
        }
    }

    int CommandAtom() {
        const std::string_view name = Command();
        Take(name);
        if (name == "left")
            return Left();
        if (name == "frac" || name == "dfrac" || name == "tfrac") {
            TTexNode fraction;
            fraction.kind = TTexKind::Frac;
            fraction.a = Argument();
            fraction.b = Argument();
            return Add(std::move(fraction));
        }
        if (name == "sqrt") {
            TTexNode root;
            root.kind = TTexKind::Root;
            SkipSilent();
            if (Peek() == '[') {
                ++pos_;
                root.b = Row(Close::Bracket);
            }
            root.a = Argument();
            return Add(std::move(root));
        }
        if (OneOf(kFunctions, name))
            return Function(std::string(name));
        if (name == "pi")
            return AddText(TTexKind::Letter, "pi");
        return -1;
    }

    int Left() {
        SkipSilent();
        const char c = Peek();
        if (c == '(' || c == '[' || c == '|' || c == '.')
            ++pos_;
        else if (LooksAt("\\{") || LooksAt("\\|"))
            pos_ += 2;
        if (c == '(')
            return Enclosed(TTexKind::Group, "()", Close::Right);
        if (c == '[')
            return Enclosed(TTexKind::Group, "[]", Close::Right);
        if (c == '|')
            return Enclosed(TTexKind::Abs, "", Close::Right);
        return Row(Close::Right);
    }

    bool StartsOperand() {
        const char c = Peek();
        if (IsDigit(c) || IsLetter(c) || c == '{' || LooksAt("{,}"))
            return true;
        const std::string_view name = Command();
        return name == "frac" || name == "sqrt" || name == "pi" || OneOf(kFunctions, name);
    }

    // A function's name, an exponent set on it, then its argument: a group
    // in brackets, or one operand without them (sin y).
    int Function(std::string name) {
        TTexNode function;
        function.kind = TTexKind::Func;
        function.text = std::move(name);
        for (SkipSilent(); Peek() == '^' || Peek() == '_'; SkipSilent()) {
            const bool power = Peek() == '^';
            ++pos_;
            const int argument = Argument();
            if (power)
                function.b = argument;
        }
        if (Peek() == '(' || Peek() == '[' || Command() == "left") {
            function.a = Primary();
            function.bracketed = function.a >= 0 && tree_[function.a].kind == TTexKind::Group;
        } else if (StartsOperand()) {
            function.a = Atom();
        }
        return Add(std::move(function));
    }

    std::string_view tex_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    TTexTree tree_;
};

} // namespace

TTexTree ReadTex(std::string_view tex) {
    return Reader(tex).Read();
}
