// How the engine groups a formula in BASIC notation, as a tree: brackets
// and function calls are atoms, then '^', then '*' and '/', then '+' and
// '-', each level from left to right. It reads the tokens of the one lexer
// (FormulaTokens.h) and refuses at the first token it cannot use.
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

// The mistake at the first token the reader cannot use. The hint rules
// that word the same mistake say which of these they word
// (THintRow::Words), so that a pupil reads one wording of it.
enum class TReadRefusal {
    None,
    Empty,
    RussianLetter, // a look-alike of a Latin letter included
    Comma,
    BadCharacter, // ':', '|' or any character no formula holds
    SecondPoint,
    PointWithoutDigits,
    UnknownName,
    MissingOperator, // two operands side by side
    ExtraBracket,
    UnclosedBracket,
    EmptyBrackets,
    TwoSigns,
    DoubleStar, // "**", at its first star
    NoNumberBefore,
    NoNumberAfter,
    MissingNumber,
    FunctionPower, // sin^2(x)
    NoBracket,     // a function's name and no bracket after it
    TooDeep,
    TooComplex,
};

// The tree of a formula as typed (code page 1251), or its first problem.
struct TFormulaReading {
    bool Read = false;
    std::vector<TReadNode> Nodes;
    int Root = -1;
    // 1-based position in the text as typed; one past its end for what is
    // missing there.
    int ProblemPos = 0;
    TReadRefusal Refusal = TReadRefusal::None;
    // The reader's own words, code page 1251; a pupil reads the words of
    // the hint that words the same mistake (ReadingProblemText).
    std::string Problem;
};

TFormulaReading ReadFormula(const std::string& formula);
