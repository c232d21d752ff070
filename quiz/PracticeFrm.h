// "Тренировка": every task's variants at the pupil's own pace, apart from the
// quiz (quiz/core/Practice.h). On the left the choice of a task; on the
// right its picture, the answer box and, while the pupil types, the answer
// as the program reads it: typeset, or its first unreadable place marked
// and named, and the hints for the usual mistakes. Enter checks: a right
// answer marks the task solved and offers the next unsolved one, a wrong
// one is explained in place as "Разбор ответа" explains it, and after three
// wrong checks "Показать образец" shows a correct answer.
//
// Opening: ShowPractice(opener) reads the progress, chooses the first
// unsolved task and shows the window modally over the opener with the keys
// in the answer box; it returns when "Закрыть", Escape or the close button
// ends the showing. Every check's progress is saved at once.
#pragma once

#include "quiz/PracticeFile.h"
#include "quiz/TaskPictures.h"
#include "quiz/core/Practice.h"

#include <QDialog>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QComboBox;
class QFrame;
class TTaskPictureSet;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTimer;
class TExplanationView;
class TFormulaView;
class TPracticeChoice;
class TTypesetClient;

class TPracticeFrm : public QDialog {
    Q_OBJECT
public:
    // Builds every control for the session, which outlives the window;
    // raises what the picture loader raises.
    explicit TPracticeFrm(TPracticeSession& session, QWidget* parent = nullptr);

    // Where the progress is read and saved; start-up gives the progress
    // file, tests their own. Either may raise EInOutError.
    using TLoad = std::function<TPracticeLoad()>;
    using TSave = std::function<TPracticeProgress(const TPracticeProgress&)>;
    void SetProgressFile(TLoad load, TSave save);

    // The sets the pupil chooses among, the standard one first; with more
    // than one a choice of them shows above the tasks. Start-up gives them.
    void SetTaskSets(std::vector<std::shared_ptr<const TTaskSet>> sets);
    // The set practised: its pictures made first when it is a teacher's set
    // ("Готовлю задания…" meanwhile); one whose TeX does not typeset is
    // refused with a message, taken off the choice, and the standard set
    // is practised.
    void ChooseSet(int index);

    // Does nothing while a quiz task is shown.
    void ShowPractice(QWidget* opener);

    // The pause after the last key before the preview is made.
    static constexpr int PreviewPauseMs = 120;

    QScrollArea* ScrollBox2 = nullptr;   // scrolls the page on a small screen
    QWidget* Page = nullptr;             // everything but the strip below
    QComboBox* ComboBox1 = nullptr;      // the set practised, shown with more than one
    QLabel* Label1 = nullptr;            // "Задания:"
    TPracticeChoice* ListBox1 = nullptr; // the variants to practise
    QLabel* Label2 = nullptr;            // the chosen task, solved or not
    QFrame* Panel1 = nullptr;            // white ground of the task picture
    QLabel* Image1 = nullptr;            // task picture
    QLabel* Label3 = nullptr;            // "Ваш ответ:"
    QLineEdit* Edit1 = nullptr;          // answer box
    QPushButton* Button1 = nullptr;      // "Проверить"
    QPushButton* Button2 = nullptr;      // "Показать образец"
    QWidget* Panel2 = nullptr;           // while typing: the live preview
    QLabel* Label4 = nullptr;            // "Так программа читает ответ:"
    TFormulaView* Formula1 = nullptr;    // the answer typeset
    QLabel* Label5 = nullptr;            // its first unreadable place
    QLabel* Label6 = nullptr;            // "Подсказки:"
    QListWidget* ListBox2 = nullptr;     // the hints, "Знак N: ..."
    QWidget* Panel3 = nullptr;           // after a check: its outcome
    QLabel* Label7 = nullptr;            // the verdict
    QPushButton* Button3 = nullptr;      // "Следующее нерешённое"
    QScrollArea* ScrollBox1 = nullptr;   // a wrong answer explained
    TExplanationView* View1 = nullptr;
    QWidget* Panel4 = nullptr;        // the sample
    QLabel* Label8 = nullptr;         // "Образец: " and the formula in BASIC notation
    TFormulaView* Formula2 = nullptr; // the sample typeset
    QLabel* Label9 = nullptr;         // a save that failed
    QPushButton* Button4 = nullptr;   // "Закрыть"
    QTimer* Timer1 = nullptr;         // the pause before the preview

public slots:
    void ListBox1Change(int row);
    void Edit1Change();
    void Timer1Timer();
    void Button1Click();
    void Button2Click();
    void Button3Click();

signals:
    // An answer was checked (a blank one is no check).
    void checkMade(const TCheckRecord& check);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void CreatePages();
    void Layout();
    void ConnectHandlers();
    void Fit(QWidget* opener);
    void LoadProgress();
    void SaveProgress();
    void ShowChosen();
    void PractisePictures(const TTaskPictures& pictures);
    void RefuseSet(int index, const QString& why);
    void ShowPreview(const std::string& answer);
    void ShowRight();
    // sampleNow: this check made the sample available.
    void ShowWrong(const TCheckRecord& check, bool sampleNow);

    TPracticeSession& session_;
    TLoad load_;
    TSave save_;
    TTypesetClient* warmUp_ = nullptr;
    TTaskPictures pictures_;
    std::vector<std::shared_ptr<const TTaskSet>> sets_;
    std::map<const TTaskSet*, TTaskPictureSet*> typeset_;
};

// Null until "Тренировка" is first opened: start-up builds it then.
extern TPracticeFrm* PracticeFrm;
