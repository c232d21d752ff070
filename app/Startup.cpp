#include "app/Startup.h"

#include "app/FTAbout/FTAbout.h"
#include "app/TerminationSignals.h"
#include "app/shell/Handler.h"
#include "app/shell/MessageBoxes.h"
#include "champions/ChampionsFile.h"
#include "champions/Form3.h"
#include "quiz/ExplainFrm.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "quiz/PracticeFile.h"
#include "quiz/PracticeFrm.h"
#include "quiz/core/GameSession.h"

#include <QApplication>

#include <exception>

namespace {

// Practice adds nothing to start-up: its window, pictures and progress come
// with its first opening.
void ShowPractice(const TGameSession& session) {
    static TPracticeSession practice(session);
    if (!PracticeFrm) {
        PracticeFrm = new TPracticeFrm(practice);
        PracticeFrm->SetProgressFile(LoadPracticeProgress, SavePracticeProgress);
    }
    PracticeFrm->ShowPractice(Form1);
}

// The windows' requests of one another. Every window exists by now; the
// connections run synchronously, in the order the windows ask.
void ConnectWindows(const TGameSession& session) {
    QObject::connect(Form1, &TForm1::verdictGiven, Form2, &TForm2::ShowVerdict);
    QObject::connect(Form1, &TForm1::championsRequested, Form3, &QWidget::show);
    QObject::connect(Form1, &TForm1::aboutRequested, AboutFrm, &TAboutFrm::ShowAbout);
    QObject::connect(Form1, &TForm1::championsLoaded, Form3, &TForm3::FillChampionsGrid);
    QObject::connect(Form2, &TForm2::answerAccepted, Form1, &TForm1::ClearAnswer);
    QObject::connect(Form2, &TForm2::nextPressed, Form1, [] {
        Form1->ShowBestTime();
        Form1->show();
    });
    QObject::connect(Form3, &TForm3::closedToMain, Form1, &QWidget::show);
    // A new record reaches the file at once, not only when the window closes.
    QObject::connect(Form1, &TForm1::recordEntered, Form1, &SaveChampionsQuietly);
    ExplainFrm->SetCheckSource([&session] { return session.LastCheck(); });
    QObject::connect(Form1, &TForm1::explainRequested, ExplainFrm,
                     Handler([] { ExplainFrm->ShowExplain(Form1); }));
    QObject::connect(Form2, &TForm2::explainRequested, ExplainFrm,
                     Handler([] { ExplainFrm->ShowExplain(Form2); }));
    QObject::connect(Form1, &TForm1::practiceRequested, Form1,
                     Handler([&session] { ShowPractice(session); }));
}

} // namespace

void CreateWindows() {
    // The first window created is the main window. Each creation step runs
    // the way the old runtime runs a handler: an error goes to the error box
    // and start-up carries on with the next step.
    // The quiz's one game session, shown by the main and verdict windows.
    static TGameSession session;
    Form1 = new TForm1(session);
    Form1->SetChampionsFile([] { LoadChampions(); }, [] { SaveChampions(); }, ChampionsFilePath());
    RunProtected([] { Form1->LoadLayoutPictures(); });
    RunProtected([] { Form1->FormCreate(); });
    Form2 = new TForm2(session);
    RunProtected([] { Form2->LoadLayoutPictures(); });
    RunProtected([] { Form2->FormCreate(); });
    Form3 = new TForm3();
    RunProtected([] { Form3->LoadLayoutPictures(); });
    RunProtected([] { Form3->FormCreate(); });
    AboutFrm = new TAboutFrm();
    RunProtected([] { AboutFrm->LoadLayoutPictures(); });
    ExplainFrm = new TExplainFrm();
    ConnectWindows(session);
}

void BringVisibleWindowToFront() {
    QWidget* window = QApplication::activeModalWidget();
    if (!window) {
        for (QWidget* candidate : QApplication::topLevelWidgets()) {
            const Qt::WindowType type = candidate->windowType();
            if (candidate->isVisible() && type != Qt::Popup && type != Qt::ToolTip) {
                window = candidate;
                break;
            }
        }
    }
    if (!window)
        return; // still starting: the main window shows itself
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

void SaveChampionsQuietly() {
    try {
        SaveChampions();
    } catch (const std::exception&) {
        // The exit save tries again and reports what went wrong.
        return;
    }
    Form1->ShowBestTime();
    Form3->FillChampionsGrid();
}

void EndOnTermination(TTerminationSignals& termination) {
    QObject::connect(&termination, &TTerminationSignals::terminationRequested, Form1, [] {
        EndMessageBoxes();
        // While a close already runs (its box just closed) this adds
        // nothing: Qt ignores it, and that close ends the program.
        Form1->close();
    });
}
