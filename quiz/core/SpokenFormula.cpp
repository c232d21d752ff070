#include "quiz/core/SpokenFormula.h"

#include "engine/Cp1251.h"
#include "quiz/core/NumberWords.h"
#include "quiz/core/TaskCatalogue.h"
#include "quiz/core/TexTree.h"

#include <array>

namespace {

// Words are UTF-8 here, turned into code page 1251 once, at the end.
std::string Joined(std::string left, std::string_view right) {
    if (!left.empty() && !right.empty() && right != ",")
        left += ' ';
    left += right;
    return left;
}

std::string Bracketed(std::string_view words) {
    std::string text = "(";
    text += words;
    text += ')';
    return text;
}

std::string FunctionWords(std::string_view name) {
    struct TName {
        std::string_view tex, words;
    };
    static constexpr std::array<TName, 15> kNames{{{"sin", "синус"},
                                                   {"cos", "косинус"},
                                                   {"tg", "тангенс"},
                                                   {"tan", "тангенс"},
                                                   {"ctg", "котангенс"},
                                                   {"cot", "котангенс"},
                                                   {"arcsin", "арксинус"},
                                                   {"arccos", "арккосинус"},
                                                   {"arctg", "арктангенс"},
                                                   {"arctan", "арктангенс"},
                                                   {"arcctg", "арккотангенс"},
                                                   {"ln", "натуральный логарифм"},
                                                   {"lg", "десятичный логарифм"},
                                                   {"log", "логарифм"},
                                                   {"exp", "экспонента"}}};
    for (const TName& known : kNames)
        if (known.tex == name)
            return std::string(known.words);
    return {};
}

// Latin letters by their Russian names, as a mathematics teacher says them.
std::string LetterWords(std::string_view letter) {
    static constexpr std::array<std::string_view, 26> kNames{
        "а",  "бэ", "цэ", "дэ", "е",  "эф", "жэ", "аш", "и",  "йот",      "ка",  "эль",   "эм",
        "эн", "о",  "пэ", "ку", "эр", "эс", "тэ", "у",  "вэ", "дубль-вэ", "икс", "игрек", "зет"};
    if (letter == "pi")
        return "пи";
    if (letter.size() != 1)
        return {};
    const char c = static_cast<char>(letter[0] | 0x20); // capitals are named alike
    return c >= 'a' && c <= 'z' ? std::string(kNames[static_cast<std::size_t>(c - 'a')]) : "";
}

std::string SignWords(std::string_view sign) {
    if (sign == "+")
        return "плюс";
    if (sign == "-")
        return "минус";
    if (sign == "*")
        return "умножить на";
    if (sign == "/")
        return "разделить на";
    if (sign == "=")
        return "равно";
    if (sign == "<")
        return "меньше";
    if (sign == ">")
        return "больше";
    return std::string(sign);
}

class Speaker {
public:
    explicit Speaker(const TTexTree& tree) : tree_(tree) {}

    // 'alone': nothing else in the row, and the row's end is heard (the
    // whole formula, or inside brackets), so a fraction needs no brackets.
    std::string Speak(int n, bool alone) const {
        if (n < 0)
            return {};
        const TTexNode& node = tree_[n];
        switch (node.kind) {
        case TTexKind::Row:
            return Row(node, alone);
        case TTexKind::Number:
            return NumberWords(node.text);
        case TTexKind::Letter:
            return LetterWords(node.text);
        case TTexKind::Symbol:
            return node.text;
        case TTexKind::Sign:
            return SignWords(node.text);
        case TTexKind::Group:
            return node.text.substr(0, 1) + Speak(node.a, true) + node.text.substr(1);
        case TTexKind::Abs:
            return Joined("модуль", Slot(node.a));
        case TTexKind::Frac:
            return Fraction(node, alone);
        case TTexKind::Root:
            return Root(node);
        case TTexKind::Func:
            return Function(node);
        case TTexKind::Power:
            return Joined(Speak(node.a, false), PowerWords(node.b));
        case TTexKind::Index:
            return Joined(Joined(Speak(node.a, false), "с индексом"), Slot(node.b));
        }
        return {};
    }

private:
    std::string Row(const TTexNode& row, bool alone) const {
        std::string words;
        for (int item : row.items)
            words = Joined(std::move(words), Speak(item, alone && row.items.size() == 1));
        return words;
    }

    // A row of one item stands for that item.
    int Single(int n) const {
        while (n >= 0 && tree_[n].kind == TTexKind::Row && tree_[n].items.size() == 1)
            n = tree_[n].items[0];
        return n;
    }

    // What an exponent, a root or a modulus holds: a number, a letter or a
    // group in brackets as it is, anything else in brackets, so that the
    // listener hears where it ends.
    std::string Slot(int n) const {
        const int single = Single(n);
        if (single < 0)
            return {};
        const TTexKind kind = tree_[single].kind;
        if (kind == TTexKind::Number || kind == TTexKind::Letter || kind == TTexKind::Group)
            return Speak(single, true);
        const std::string words = Speak(single, true);
        return words.empty() ? words : Bracketed(words);
    }

    std::string PowerWords(int exponent) const {
        const int single = Single(exponent);
        if (single >= 0 && tree_[single].kind == TTexKind::Number) {
            if (std::string named = NamedPowerWords(tree_[single].text); !named.empty())
                return named;
        }
        return Joined("в степени", Slot(exponent));
    }

    std::string Fraction(const TTexNode& node, bool alone) const {
        std::string words = Joined("дробь: в числителе", Speak(node.a, false));
        words += ',';
        words = Joined(Joined(std::move(words), "в знаменателе"), Speak(node.b, false));
        return alone ? words : Bracketed(words);
    }

    std::string Root(const TTexNode& node) const {
        const int index = Single(node.b);
        if (index < 0)
            return Joined("корень квадратный из", Slot(node.a));
        if (tree_[index].kind == TTexKind::Number && tree_[index].text == "3")
            return Joined("корень кубический из", Slot(node.a));
        return Joined(Joined(Joined("корень степени", Slot(node.b)), "из"), Slot(node.a));
    }

    std::string Function(const TTexNode& node) const {
        std::string words = FunctionWords(node.text);
        if (node.b >= 0)
            words = Joined(std::move(words), PowerWords(node.b));
        if (node.a >= 0 && node.bracketed)
            words = Joined(std::move(words), "от");
        return Joined(std::move(words), Speak(node.a, false));
    }

    const TTexTree& tree_;
};

} // namespace

std::string SpokenTex(std::string_view tex) {
    const TTexTree tree = ReadTex(tex);
    return formulon::engine::Utf8ToCp1251(Speaker(tree).Speak(tree.Root, true));
}

std::string SpokenTask(int task, int variant) {
    return SpokenTask(ReferenceFormulas, task, variant);
}

std::string SpokenTask(const TTaskTable& tasks, int task, int variant) {
    return tasks.Has(task, variant) ? SpokenTex(tasks.PictureTex(task, variant)) : std::string();
}
