// The TeX of a formula picture read back into what the picture shows: rows
// of operands and signs, brackets, bars, fractions, roots, functions and
// raised exponents. It reads the task tables' TeX and what FormulaToTex
// writes; any other text still gives a tree (what it does not know is
// left out), so a picture always has something to say.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class TTexKind {
    Row,    // items side by side: operands, and signs between them (items)
    Number, // digits with ',' for the decimal comma (text)
    Letter, // one Latin letter (text)
    Symbol, // a character drawn as it is, such as an unmatched bracket (text)
    Sign,   // + - = and the multiplication signs: '+', '-', '=', '*', '/' (text)
    Group,  // (a): visible brackets, their characters in text ("()", "[]")
    Abs,    // (a): between vertical bars
    Frac,   // (a) over (b)
    Root,   // radical over (a); (b) the root's index, or -1
    Func,   // text: sin, cos, tg, arctg, ln, ...; (b) exponent on the name or
            // -1; (a) argument or -1; 'bracketed' when the argument is a Group
    Power,  // (a) raised to (b); a is -1 when nothing stands below
    Index,  // (a) with the subscript (b)
};

struct TTexNode {
    TTexKind kind = TTexKind::Row;
    std::string text;
    int a = -1;
    int b = -1;
    bool bracketed = false;
    std::vector<int> items;
};

struct TTexTree {
    std::vector<TTexNode> Nodes;
    int Root = -1; // a Row

    const TTexNode& operator[](int n) const { return Nodes[static_cast<std::size_t>(n)]; }
};

// Never fails; TeX nested deeper than a picture could show is cut off there.
TTexTree ReadTex(std::string_view tex);
