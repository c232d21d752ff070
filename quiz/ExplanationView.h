// What the explanation of a check shows, for any window that explains one
// ("Разбор ответа", or a window that explains its own checks in place). It
// is not a window, and shows only what the given record holds: nothing is
// evaluated again.
//
// From the top: the answer as typed, with every place a hint or the note
// speaks of marked and the earliest one scrolled to; the answer typeset in
// school notation, the place the program reads differently boxed (it
// appears when ready, drawn smaller when wider than its box, or says why it
// cannot be typeset), or the first place it cannot be read; the hints and
// the note, earliest place first (choosing one scrolls the typed answer to
// its place); the answer's value and the comparison with the task's in
// words; the message the answer's own evaluation wrote and a raised error
// with its meaning in Russian beneath; the steps in words, wrapped, under
// a line on degrees. The texts are ExplanationTexts', the ones formulon-eval
// --explain prints. After a wrong answer nothing here holds the task's
// value or formula.
#pragma once

#include <QWidget>

#include <vector>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class TFormulaView;
struct TCheckRecord;
struct TExplanationTexts;

class TExplanationView : public QWidget {
    Q_OBJECT
public:
    // The view's width; its height follows what it shows.
    static constexpr int ViewWidth = 528;

    explicit TExplanationView(QWidget* parent = nullptr);

    // Shows the check, every part scrolled to its start (the typed answer to
    // its first marked place), and takes the height it needs.
    void ShowCheck(const TCheckRecord& check);

    QLabel* Label1 = nullptr;         // "Ваш ответ:"
    QPlainTextEdit* Memo1 = nullptr;  // the answer as typed, places marked
    TFormulaView* Formula1 = nullptr; // the answer typeset, or why it is not
    QLabel* Label2 = nullptr;         // in its place: where it cannot be read
    QLabel* Label3 = nullptr;         // "Подсказки:" or "Подсказок нет"
    QListWidget* ListBox2 = nullptr;  // the hints and the note, "Символ N: ..."
    QLabel* Label4 = nullptr;         // "Значение ответа:"
    QLabel* Label5 = nullptr;         // the answer's value text
    QLabel* Label6 = nullptr;        // "Сравнение со значением задания:"
    QLabel* Label7 = nullptr;        // the comparison in words
    QLabel* Label8 = nullptr;        // the answer's message, the raised error
    QLabel* Label9 = nullptr;        // "Как программа считала ответ:"
    QListWidget* ListBox1 = nullptr; // the numbered steps

    // The places marked in the typed answer, 1-based, earliest first.
    const std::vector<int>& MarkedPlaces() const { return marks_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void Layout();
    void ShowAnswer(const TCheckRecord& check, const TExplanationTexts& texts);
    void ShowHints(const TExplanationTexts& texts);
    void ShowValue(const TExplanationTexts& texts);
    void ShowSteps(const TExplanationTexts& texts);
    void MarkPlaces(const QString& typed);
    void ScrollTypedTo(int position);

    std::vector<int> marks_;
    std::vector<int> hintPlaces_; // ListBox2's rows' places
};
