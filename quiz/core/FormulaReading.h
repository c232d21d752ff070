// How the engine groups a formula in BASIC notation, as a tree: brackets
// and function calls are atoms, then '^', then '*' and '/', then '+' and
// '-', each level from left to right.
#pragma once

#include <string>
#include <vector>

enum class TReadKind { Num, Var, Group, Func, Neg, Pos, Pow, Mul, Div, Sum };

// One node of the reading; children are indices into the reading's nodes.
struct TReadNode {
    TReadKind kind = TReadKind::Num;
    std::string text;       // the number, the variable or the function's name
    int a = -1;             // Group, Func, Neg, Pos: the inside; Pow, Div: the left side
    int b = -1;             // Pow, Div: the right side
    std::vector<int> items; // Mul, Sum: the operands in order
    std::string ops;        // Sum: the sign in front of each item after the first
    std::vector<int> opAt;  // Sum: where each of those signs is
    int height = 1;
    int from = 0, to = 0; // the node's first and last character; positions are
                          // 1-based in the text as typed
};

// The tree of a formula as typed (code page 1251), or its first problem.
struct TFormulaReading {
    bool Read = false;
    std::vector<TReadNode> Nodes;
    int Root = -1;
    int ProblemPos = 0;  // 1-based position in the text as typed
    std::string Problem; // code page 1251
};

TFormulaReading ReadFormula(const std::string& formula);
