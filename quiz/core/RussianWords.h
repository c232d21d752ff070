// Words of Russian letters in a typed answer that mean something the
// program knows: a function's Russian name ("синус", "тг") or a name typed
// with the Russian keyboard layout on ("ышт" is sin, "н" is y).
#pragma once

#include <string>
#include <vector>

struct TRussianWord {
    enum class TKind {
        Name,   // a Russian name: Latin holds the BASIC function, or "lg", "ctg"
        Layout, // the keys of a Latin name or of y and z: Latin holds what was meant
    };
    TKind Kind = TKind::Name;
    int At = 0;       // 1-based place of its first letter in the typed answer
    int End = 0;      // one past its last letter
    std::string Text; // as typed, code page 1251
    std::string Latin;
};

// Every such word of 'typed' (code page 1251), from the left. A word is a
// run of Russian letters as a whole; a run that means nothing known is not
// one (its letters get the letter hints).
std::vector<TRussianWord> RussianWords(const std::string& typed);
