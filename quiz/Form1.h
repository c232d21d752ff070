// The main window: registration, clock, task picture and answer check.
// The game itself is the session (quiz/core/GameSession.h): this window
// hands it the pupil's actions, shows what it says and signals what it
// needs of the other windows.
#pragma once

#include "quiz/TaskPictures.h"
#include "quiz/core/GameSession.h"

#include <QMainWindow>

#include <functional>
#include <string>

class QAction;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the layout's controls for the game session, which outlives
    // the window; raises nothing. Start-up then runs LoadLayoutPictures and
    // FormCreate, each inside RunProtected.
    explicit TForm1(TGameSession& session, QWidget* parent = nullptr);

    TGameSession& Session() const { return session_; }

    // The layout's pictures: the title picture and the menu icons. Raises
    // Exception when one is missing.
    void LoadLayoutPictures();

    // What loads and saves the champions file, and the file's path for the
    // question after a failed save; start-up gives them. A load raises when
    // it does not get through.
    void SetChampionsFile(std::function<void()> load, std::function<void()> save,
                          QString path = {});

    // Creation handler: LastErrorText emptied, reference formulas filled,
    // the champions file loaded; a load that gets through starts Timer2.
    void FormCreate();

    // Close handler: SaveChampions; raises when the save fails. Closing then
    // asks whether to quit without saving only when a record of this run is
    // not in the file; otherwise the program ends after the error box.
    void FormClose(QCloseEvent* event);

    // Every activation: the task box's caption, and on the first one after
    // a right answer a freshly drawn variant of the next task.
    void FormActivate();

    // Label4 shows the time of the table's first place.
    void ShowBestTime();

    // A win's record decided once the table was read (the session held it):
    // the clock, the record's save and the best time, as after the check.
    // Raises the sort's error after the record is entered.
    void ShowDecidedRecord(const TCheckOutcome& outcome);

    // Empties the answer box for the next task.
    void ClearAnswer();

    // The pictures of the set the session plays (the standard set's until
    // start-up gives another), and the caption that names a teacher's set.
    void SetTaskPictures(TTaskPictures pictures);
    const TTaskPictures& TaskPictures() const { return pictures_; }
    // While a set's pictures are being made "Начать" waits, saying
    // "Готовлю задания…".
    void ShowPreparing(bool preparing);
    bool Preparing() const { return preparing_; }

    // Controls, with their layout names.
    QWidget* ClientArea = nullptr;  // the 500 x 455 client area
    QGroupBox* GroupBox1 = nullptr; // "Задание", task box
    QGroupBox* GroupBox2 = nullptr; // "Время"
    QGroupBox* GroupBox3 = nullptr; // "Регистрация"
    QLabel* Label1 = nullptr;       // hidden: reference value text
    QLabel* Label2 = nullptr;       // "Лучшие время:"
    QLabel* Label3 = nullptr;       // "Ваше время:"
    QLabel* Label4 = nullptr;       // best time
    QLabel* Label5 = nullptr;       // game time
    QLabel* Label6 = nullptr;       // "Ваш ответ:"
    QLabel* Label7 = nullptr;       // hidden: answer value text
    QLabel* Label8 = nullptr;       // "Введите имя:"
    QLineEdit* Edit1 = nullptr;     // answer box, lower case
    QLineEdit* Edit2 = nullptr;     // name box, code page 1251 only
    QLineEdit* Edit3 = nullptr;     // hidden picture selector
    QLineEdit* Edit4 = nullptr;     // hidden picture selector
    QPushButton* Button1 = nullptr; // "Проверить"
    QPushButton* Button4 = nullptr; // "Начать"
    QPushButton* Button5 = nullptr; // hidden "Button5"
    QLabel* Image1 = nullptr;       // task picture
    QLabel* Image2 = nullptr;       // title picture
    QTimer* Timer1 = nullptr;       // seconds counter, 1000 ms, disabled
    QTimer* Timer2 = nullptr;       // one-shot best-time refresh, disabled

    QMenu* N1 = nullptr;   // "&Файл"
    QAction* N2 = nullptr; // "&Новая игра"
    QAction* N3 = nullptr; // separator
    QAction* N4 = nullptr; // "В&ыход"
    QMenu* N9 = nullptr;   // "&Вид"
    QAction* N6 = nullptr; // "&Чемпионы"
    QMenu* N5 = nullptr;   // "&Справка"
    QAction* N8 = nullptr; // "&О программе"
    // "&Разбор ответа" in "&Вид", shortcut F1; enabled by the first game.
    QAction* N10 = nullptr;
    // "&Тренировка" in "&Вид", shortcut Ctrl+T; disabled while a quiz task
    // is shown, so practice never helps a running game.
    QAction* N11 = nullptr;
    // "Крупно и контрастно" in "&Вид", checkable: the look for low vision
    // (ui/Look.h), kept in the user's settings.
    QAction* N12 = nullptr;

public slots:
    void Button1Click();
    void Button4Click();
    void Button5Click();
    void N2Click();
    void N4Click();
    void N6Click();
    void N8Click();
    void N10Click();
    void N11Click();
    void N12Click();
    void Timer1Timer();
    void Timer2Timer();

signals:
    // A check gave its verdict (the session's last outcome): the verdict
    // window is to show it.
    void verdictGiven();
    // "Чемпионы" and "О программе" chosen.
    void championsRequested();
    void aboutRequested();
    // "Разбор ответа" chosen (or F1): the last check is to be explained.
    void explainRequested();
    // "Тренировка" chosen (or Ctrl+T) while no quiz task is shown.
    void practiceRequested();
    // Timer2's tick: the champions grid is to show the loaded table.
    void championsLoaded();
    // A winner's time entered the champions table.
    void recordEntered();
    // "Проверить" checked an answer (the session's last check, whether it
    // gave a verdict or ended in an error); `clock` is the game's time as
    // the check was asked for, before a record could stop the clock.
    void checkMade(int clock);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void LoadTaskPicture();
    // Records of this run that never reached the file, on standard error.
    void ReportUnsavedRecords() const;
    void ShowTaskCaption();
    // The task box, or the title picture it covers.
    void ShowTaskBox(bool shown);
    // Label5 shows the session's clock, and Timer1 runs while it does.
    void ShowClock();
    // The hidden labels receive the value texts the last check got to.
    void ShowCheckValues();
    void ShowOutcome(const TCheckOutcome& outcome);
    // "Тренировка" is open exactly while no quiz task is shown.
    void ShowPracticeOpen();

    TGameSession& session_;
    TTaskPictures pictures_;
    bool preparing_ = false;

    std::function<void()> loadChampions_;
    std::function<void()> saveChampions_;
    QString championsPath_;
};

extern TForm1* Form1;
