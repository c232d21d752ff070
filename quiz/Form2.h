// The verdict window: answers every check of the main window.
//
// ShowVerdict writes the session's last verdict into Label1 (and, after a
// wrong answer, the comment into Label2), then shows this window. Each time
// the window is activated it shows the comment and picture of that verdict.
#pragma once

#include "quiz/core/GameSession.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class TLinkLabel;

// The verdict texts Label1 shows.
inline const QString kVerdictRight = QStringLiteral("Ответ правильный.");
inline const QString kVerdictWin = QStringLiteral("Превосходно!!! Вы победили");
inline const QString kVerdictWrong = QStringLiteral("Ответ не верный. Стоит подумать");

class TForm2 : public QWidget {
    Q_OBJECT
public:
    // Builds the controls for the game session, which outlives the window;
    // raises nothing.
    explicit TForm2(TGameSession& session, QWidget* parent = nullptr);

    // The button's glyph; raises Exception when it is missing.
    void LoadLayoutPictures();

    QLabel* Label1 = nullptr; // the verdict
    QLabel* Label2 = nullptr; // the comment
    QLabel* Label3 = nullptr;
    QFrame* Bevel1 = nullptr;
    QFrame* Bevel2 = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "Далее"
    // "Разбор ответа (F1)" under the oval, after a wrong verdict only: the
    // one control beyond the layout, where a pupil stands after a mistake.
    TLinkLabel* Label4 = nullptr;

    // Enter presses "Далее" only this long after the window appeared: a
    // double press or a key repeat of the check's Enter leaves the verdict
    // on the screen.
    static constexpr std::int64_t EnterPauseMs = 300;
    // Test seam: milliseconds of a steady clock.
    using TClock = std::function<std::int64_t()>;
    void SetClock(TClock clock) { clock_ = std::move(clock); }

    // Run by the start-up once the window exists: shapes the oval button.
    void FormCreate();
    // The session's last verdict, and its comment when there is one; then
    // the window comes up.
    void ShowVerdict();
    // Run every time the window becomes the active window.
    void FormActivate();
    void BitBtn1Click();

signals:
    // Activated on a right answer or a win: the answer box is to be emptied.
    void answerAccepted();
    // "Далее": this window has gone, the main window is to come back.
    void nextPressed();
    // F1 or the link: the check shown is to be explained.
    void explainRequested();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void Layout();
    // The verdict's picture, and what a screen reader calls it.
    void ShowPicture(const QString& resourceName, const QString& accessibleName);
    std::int64_t Now() const;

    TGameSession& session_;
    TClock clock_;
    std::int64_t shownAt_ = 0;
};

extern TForm2* Form2;
