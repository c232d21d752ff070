// "Разбор ответа": how the program read and evaluated the last checked
// answer, from what the check recorded (nothing is evaluated again): the
// task and its picture above the explanation view (ExplanationView.h).
// After a wrong answer nothing in it holds the task's value or formula.
//
// Opening: ShowExplain(opener) fills the window and shows it modally over
// the opener, centred on it and no larger than the screen (the page above
// "Закрыть" scrolls); it returns when "Закрыть", Escape or the close button
// ends the showing. It opens at once: the typeset answer appears when ready.
#pragma once

#include "quiz/TaskPictures.h"

#include <QDialog>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
struct TCheckRecord;
class TExplanationView;

class TExplainFrm : public QDialog {
    Q_OBJECT
public:
    // Raises nothing; the controls are built on the first opening.
    explicit TExplainFrm(QWidget* parent = nullptr);

    // Does nothing without a check source; says "В этой игре проверок ещё
    // не было" while the source has no check (a new game), rather than
    // showing an older game's.
    void ShowExplain(QWidget* opener);

    // Where the check to explain comes from: the last check of the quiz's
    // game, or null before its first one. Start-up gives it.
    using TCheckSource = std::function<const TCheckRecord*()>;
    void SetCheckSource(TCheckSource source) { checkSource_ = std::move(source); }
    // The pictures of the set whose checks it explains; the standard set's
    // until start-up gives another.
    void SetTaskPictures(TTaskPictures pictures) { pictures_ = std::move(pictures); }

    // Fills every control from the last check (building them the first time).
    void FormShow();

    QLabel* Label1 = nullptr;          // task and variant, or that there is no check
    QFrame* Panel1 = nullptr;          // white ground of the task picture
    QLabel* Image1 = nullptr;          // task picture
    TExplanationView* View1 = nullptr; // the answer explained
    QPushButton* Button1 = nullptr;    // "Закрыть"
    QScrollArea* ScrollBox2 = nullptr; // scrolls the page above "Закрыть"
    QWidget* Panel2 = nullptr;         // the page: everything but "Закрыть"

private:
    void EnsureControls();
    void CreateControls();
    void Layout();
    void FitAndCentre(QWidget* opener);
    void ShowTask(const TCheckRecord& check);

    TCheckSource checkSource_;
    TTaskPictures pictures_;
};

extern TExplainFrm* ExplainFrm;
