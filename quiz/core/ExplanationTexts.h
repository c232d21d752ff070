// What "Разбор ответа" shows of a check, every text of it, made once for
// the window (quiz/ExplanationView) and for formulon-eval --explain, so a
// teacher reads what a pupil sees. Texts are code page 1251, made from
// the record alone (ExplainCheck).
#pragma once

#include "quiz/core/CheckRecord.h"

#include <string>
#include <vector>

// The window's captions, UTF-8.
namespace ExplainCaption {
inline constexpr const char* Typed = "Ваш ответ:";
inline constexpr const char* Hints = "Подсказки:";
inline constexpr const char* NoHints = "Подсказок нет";
inline constexpr const char* Value = "Значение ответа:";
inline constexpr const char* Comparison = "Сравнение со значением задания:";
inline constexpr const char* Steps = "Как программа считала ответ:";
} // namespace ExplainCaption

// A text about one place of the typed answer, its place named in front.
struct TPlacedText {
    int Position; // 1-based in the typed answer, or one past its end
    std::string Text;
};

struct TExplanationTexts {
    bool Right = false;
    bool Raised = false; // the check was abandoned by an error
    // The answer in school notation, with the place the program reads
    // differently boxed; empty when it cannot be read, Unreadable then
    // naming the first place that cannot be.
    std::string Tex;
    std::string Unreadable;
    // Places marked in the typed answer, 1-based, earliest first.
    std::vector<int> Marks;
    // The hints and the note on the program's reading, earliest place first,
    // each "Символ N: …" or "В конце ответа: …".
    std::vector<TPlacedText> Hints;
    std::string Value; // the answer's value text, its middle left out when long
    std::vector<std::string> Comparison;
    // The answer's own message, and a raised error as its box shows it with
    // its meaning beneath.
    std::vector<std::string> Messages;
    // The steps, numbered, each note beneath its step indented, after the
    // line on degrees when there is one.
    std::vector<std::string> Steps;
};

TExplanationTexts ExplanationTexts(const TCheckRecord& check);

// "Символ N: " for a place in an answer of 'length' characters, "В конце
// ответа: " past it.
std::string PlaceName(int position, int length);

// A long text with its middle left out, so that a page stays readable.
std::string Shortened(const std::string& text);
