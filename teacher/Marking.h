// Judging a class's answers exactly as the quiz judges one: each answer
// taken as the answer box takes it pasted in, checked by the quiz's own
// check, with the hint "Разбор ответа" gives first.
#pragma once

#include "quiz/core/AnswerHints.h"
#include "quiz/core/CheckRecord.h"
#include "teacher/ClassReader.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TVerdict {
    Right,
    Wrong,
    Flagged, // wrong, yet right in school mathematics: for the teacher to decide
    Blank,
    Unreadable,
};

// Whether a wrong answer is right in school mathematics.
using TFlagRule = bool (*)(const TCheckRecord& check);
bool RightInSchoolMathematics(const TCheckRecord& check);

struct TJudgement {
    TVerdict Verdict = TVerdict::Blank;
    // Code page 1251: the answer's value text, or the text of the error its
    // evaluation raised; the message the quiz's verdict window would show;
    // after a wrong answer, the first hint.
    std::string Value, Message, Hint;
    std::string AnswerMessage;     // the last message the answer's own evaluation wrote
    std::optional<THintRule> Slip; // the first hint's rule
};

// An answer to (task, variant) as pasted into the answer box. Needs the
// floating-point environment the program sets at start; leaves the
// engine's LastErrorText as it found it.
TJudgement JudgeAnswer(int task, int variant, std::u32string_view pasted,
                       TFlagRule flagRule = RightInSchoolMathematics);
// The same for a task of another table.
TJudgement JudgeAnswer(const TTaskTable& tasks, int task, int variant, std::u32string_view pasted,
                       TFlagRule flagRule = RightInSchoolMathematics);

struct TMarkedAnswer {
    TReadLine Read;
    TJudgement Judgement; // Unreadable for a line with a problem
};

std::vector<TMarkedAnswer> MarkClass(std::vector<TReadLine> lines,
                                     TFlagRule flagRule = RightInSchoolMathematics,
                                     const TTaskTable& tasks = ReferenceFormulas);
