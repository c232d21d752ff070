// Practice ("Тренировка"): every variant of the table at the pupil's own
// pace, apart from the quiz. Each check is the quiz's check, in a record of its own; it
// never changes what the quiz shows (its LastErrorText, game state, last
// check or champions), and practice is open only while the quiz shows no
// task, so it never helps a running game. Texts are code page 1251.
#pragma once

#include "quiz/core/CheckRecord.h"
#include "quiz/core/PracticeProgress.h"

#include <optional>
#include <string>

class TGameSession;

struct TPracticeCheck {
    bool Right = false;
    // What "Разбор ответа" would explain; after an error raised by the
    // engine (a letter that is no number, a floating-point fault) it says
    // so, and the check counts as wrong.
    TCheckRecord Record;
};

class TPracticeSession {
public:
    // 'quiz' tells whether a quiz task is shown; it and 'tasks', the
    // variants practised (the entries below are its entries), outlive this
    // session.
    explicit TPracticeSession(const TGameSession& quiz, const TTaskTable& tasks = ReferenceFormulas)
        : quiz_(quiz), tasks_(&tasks) {}

    // Practises the variants of another set from now on: 'tasks' (which
    // outlives this session), its progress kept under the set's file name
    // ('setName', empty for the standard set); the first task is chosen.
    void PractiseSet(const TTaskTable& tasks, std::string setName);
    const std::string& SetName() const { return setName_; }

    // Only while the quiz shows no task: before "Начать", after a win.
    bool Available() const;

    const TTaskTable& Tasks() const { return *tasks_; }
    const TPracticeProgress& Progress() const { return progress_; }
    // Progress read from the file; the chosen task stays.
    void SetProgress(const TPracticeProgress& progress) { progress_ = progress; }

    int Chosen() const { return chosen_; }
    const TTaskRow& ChosenRow() const { return tasks_->Row(chosen_); }
    const TPracticeMark& ChosenMark() const { return MarkOf(chosen_); }
    const TPracticeMark& MarkOf(int entry) const;
    // False, and nothing changes, for anything but an entry of the table.
    bool Choose(int entry);
    // The first unsolved task from the start, or the first task when all
    // are solved: where practice opens.
    int FirstUnsolved() const;
    // The next unsolved task after the chosen one, round past the last;
    // none when every other task is solved.
    std::optional<int> NextUnsolved() const;

    // Enter: the answer (as the answer box holds it) checked against the
    // chosen task; right marks it solved, wrong counts a wrong check, and
    // a try towards the sample when the answer holds y or z and differs
    // from every try counted before for this task (so neither a number
    // nor the same answer again unlocks it). None, and nothing changes,
    // while practice is not available or the answer is blank (an Enter
    // pressed too soon is no try).
    std::optional<TPracticeCheck> Check(const std::string& answer);

    // "Показать образец": after kTriesBeforeSample counted tries of the
    // chosen task, and only while practice is available, a correct answer
    // in BASIC notation (the task's reference formula); else none.
    bool SampleAvailable() const;
    std::optional<std::string> Sample() const;

private:
    const TGameSession& quiz_;
    // The name an entry's progress is kept under.
    std::string ProgressName(int entry) const;

    const TTaskTable* tasks_;
    std::string setName_;
    TPracticeProgress progress_;
    int chosen_ = 0;
};
