// The game's progression after each check: the next task, the win at task
// 11, the record decision and the record's entry. The windows act on the
// outcome; they take no decision of their own.
#pragma once

#include <exception>
#include <optional>
#include <string>

enum class TVerdict {
    Right, // "Ответ правильный."
    Win,   // "Превосходно!!! Вы победили"
    Wrong, // "Ответ не верный. Стоит подумать"
};

struct TCheckOutcome {
    TVerdict Verdict = TVerdict::Right;
    // The comment for the verdict window: LastErrorText after a wrong
    // answer, none after a right one.
    std::optional<std::string> Comment;
    // The finishing time entered slot 15 and the table was sorted: the
    // clock stops, the game time goes back to "0", the task box hides.
    bool Record = false;
    // An error raised while sorting after the record's entry; the window
    // acts on the record first, then raises it.
    std::exception_ptr SortFault;
};

// A new game for the player (code page 1251; cut to 255 characters): task 1
// with a freshly drawn variant, nothing left due.
void StartGame(const std::string& playerName);

// The main window became active. The first activation after a right answer
// that left a task draws that task's variant; every other one keeps the
// task and its picture. True when a variant was drawn.
bool DrawDueVariant();

// A right answer: the next task, or the win after task 10. On a win the
// game time (code page 1251 text) decides the record. Raises EConvertError
// when slot 15 holds a time that is not an integer; the game is over by then.
TCheckOutcome RightAnswer(const std::string& gameTime);

// A wrong answer: the task stays, the comment is LastErrorText.
TCheckOutcome WrongAnswer();

// The text of slot 1, the best time shown in the main window.
std::string BestTime();
