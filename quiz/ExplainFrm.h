// "Разбор ответа": how the program read and evaluated the last checked
// answer, from what the check recorded (nothing is evaluated again). Only
// the task's value text is shown, never its formula.
//
// Opening: ShowExplain(opener) fills the window and shows it modally over
// the opener, centred on it and no larger than the screen (the page above
// "Закрыть" scrolls); it returns when "Закрыть", Escape or the close button
// ends the showing.
#pragma once

#include <QDialog>

#include <functional>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
struct TCheckRecord;

class TExplainFrm : public QDialog {
    Q_OBJECT
public:
    // Raises nothing; the controls are built on the first opening.
    explicit TExplainFrm(QWidget* parent = nullptr);

    // Does nothing while no check has been made in this run.
    void ShowExplain(QWidget* opener);

    // Where the check to explain comes from: the quiz's last check, or null
    // before the first one. Start-up gives it.
    using TCheckSource = std::function<const TCheckRecord*()>;
    void SetCheckSource(TCheckSource source) { checkSource_ = std::move(source); }

    // Fills every control from the last check (building them the first time).
    void FormShow();

    QLabel* Label1 = nullptr; // task and variant
    QFrame* Panel1 = nullptr; // white ground of the task picture
    QLabel* Image1 = nullptr; // task picture
    QLabel* Label2 = nullptr; // "Ваш ответ:"
    QLabel* Label3 = nullptr; // the answer as checked
    QScrollArea* ScrollBox1 = nullptr;
    QLabel* Image2 = nullptr;          // the answer typeset
    QLabel* Label12 = nullptr;         // or the answer as typed, in its place
    QLabel* Label4 = nullptr;          // why it is not typeset, when it is not
    QLabel* Label5 = nullptr;          // "Как программа считала ответ:"
    QListWidget* ListBox1 = nullptr;   // the numbered steps
    QLabel* Label6 = nullptr;          // "Значение ответа:"
    QLabel* Label7 = nullptr;          // the answer's value text
    QLabel* Label8 = nullptr;          // "Значение задания:"
    QLabel* Label9 = nullptr;          // the task's value text
    QLabel* Label10 = nullptr;         // where the values first differ
    QLabel* Label11 = nullptr;         // the engine's message, the raised error
    QPushButton* Button1 = nullptr;    // "Закрыть"
    QScrollArea* ScrollBox2 = nullptr; // scrolls the page above "Закрыть"
    QWidget* Panel2 = nullptr;         // the page: everything but "Закрыть"

private:
    void EnsureControls();
    void CreateControls();
    void Layout();
    void FitAndCentre(QWidget* opener);
    void ShowTask();
    void ShowAnswer();
    void ShowSteps();
    void ShowValues();
    void ShowMessages();
    bool HasLastCheck() const;
    const TCheckRecord& LastCheck() const;

    TCheckSource checkSource_;
};

extern TExplainFrm* ExplainFrm;
