#include "app/Startup.h"

#include "app/Application.h"
#include "app/ChampionsSaving.h"
#include "app/CommandLine.h"
#include "app/ErrorBox.h"
#include "app/FTAbout/FTAbout.h"
#include "app/ResultsLogging.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "champions/ChampionsFile.h"
#include "champions/ChampionsLocation.h"
#include "champions/Form3.h"
#include "quiz/ExplainFrm.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "quiz/PracticeFile.h"
#include "quiz/PracticeFrm.h"
#include "quiz/core/GameSession.h"
#include "ui/Handler.h"
#include "ui/MessageBoxes.h"
#include "ui/TextCodec.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <exception>
#include <optional>
#include <string>

namespace {

// The quiz's one game session, shown by the main and verdict windows.
TGameSession& Session() {
    static TGameSession session;
    return session;
}

// The champions file's load and saves, off the user-interface thread.
TChampionsSaving& Saving() {
    static TChampionsSaving* saving = new TChampionsSaving(Session());
    return *saving;
}

// The windows after the main window: not yet created, their creation under
// way (an error box of it may be open), or created.
enum class TOtherWindows { Absent, Creating, Created };
TOtherWindows otherWindows = TOtherWindows::Absent;

// True once Form2, Form3, AboutFrm and ExplainFrm exist, creating them now
// if need be. False only while their creation is still under way: a request
// meanwhile goes unanswered, as it did when the windows were connected only
// after the last one was created.
bool OtherWindows() {
    if (otherWindows == TOtherWindows::Absent)
        CreateOtherWindows();
    return otherWindows == TOtherWindows::Created;
}

// Practice adds nothing to start-up: its window, pictures and progress come
// with its first opening.
void ShowPractice() {
    static TPracticeSession practice(Session());
    if (!PracticeFrm) {
        PracticeFrm = new TPracticeFrm(practice);
        PracticeFrm->SetProgressFile(LoadPracticeProgress, SavePracticeProgress);
        QObject::connect(PracticeFrm, &TPracticeFrm::checkMade, PracticeFrm, &LogPracticeCheck);
    }
    PracticeFrm->ShowPractice(Form1);
}

// What the main window asks of the others. Each request makes sure they
// exist, so a request that comes before they are created finds them all the
// same. The connections run synchronously, in the order the window asks.
void ConnectMainWindow() {
    QObject::connect(Form1, &TForm1::verdictGiven, Form1, [] {
        if (OtherWindows())
            Form2->ShowVerdict();
    });
    QObject::connect(Form1, &TForm1::championsRequested, Form1, [] {
        if (OtherWindows())
            Form3->show();
    });
    QObject::connect(Form1, &TForm1::aboutRequested, Form1, [] {
        if (OtherWindows())
            AboutFrm->ShowAbout();
    });
    QObject::connect(Form1, &TForm1::championsLoaded, Form1, [] {
        if (OtherWindows())
            Form3->FillChampionsGrid();
    });
    // A new record reaches the file at once, not only when the window closes.
    QObject::connect(Form1, &TForm1::recordEntered, Form1, [] { Saving().SaveRecord(); });
    QObject::connect(Form1, &TForm1::checkMade, Form1, &LogQuizCheck);
    QObject::connect(&Saving(), &TChampionsSaving::saved, Form1, [] {
        Form1->ShowBestTime();
        if (OtherWindows())
            Form3->FillChampionsGrid();
    });
    QObject::connect(Form1, &TForm1::explainRequested, Form1, Handler([] {
                         if (OtherWindows())
                             ExplainFrm->ShowExplain(Form1);
                     }));
    QObject::connect(Form1, &TForm1::practiceRequested, Form1, Handler([] { ShowPractice(); }));
}

// What the other windows ask of the main window and of one another.
void ConnectOtherWindows() {
    ExplainFrm->SetCheckSource([] { return Session().LastCheck(); });
    QObject::connect(Form2, &TForm2::answerAccepted, Form1, &TForm1::ClearAnswer);
    QObject::connect(Form2, &TForm2::nextPressed, Form1, [] {
        Form1->ShowBestTime();
        Form1->show();
    });
    QObject::connect(Form3, &TForm3::closedToMain, Form1, &QWidget::show);
    QObject::connect(Form2, &TForm2::explainRequested, ExplainFrm,
                     Handler([] { ExplainFrm->ShowExplain(Form2); }));
}

// Creates the other windows once the main window's first frame is out:
// until then they would only delay it.
class TAfterFirstFrame : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Posted, so the frame is painted and shown first.
            QTimer::singleShot(0, this, [this] {
                OtherWindows();
                deleteLater();
            });
        }
        return false;
    }
};

// Another copy runs: bring it forward, or say so when it does not answer.
int HandOverToRunningCopy(const TSingleInstance& instance) {
    if (!instance.ReachRunningCopy())
        ShowInformationBox(QStringLiteral("Formulon уже запущен."));
    return 0;
}

// The results log this run appends to, or empty.
QByteArray resultsFile;

// The champions file and the results log this run uses; false when the
// arguments are refused.
bool ChooseChampionsFile(int argc, char** argv) {
    const TCommandLine line = ParseCommandLine(argc, argv);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "formulon: %s\n%s", qUtf8Printable(line.error),
                     qUtf8Printable(UsageText()));
        return false;
    }
    QString problem;
    UseClassTable(ChooseClassTable(line, &problem));
    QString resultsProblem;
    resultsFile = ChooseResultsFile(line, &resultsProblem);
    // Both read the machine's settings files: a problem of one is said once.
    for (const QString& said : resultsProblem.split('\n', Qt::SkipEmptyParts))
        if (!problem.contains(said))
            problem += (problem.isEmpty() ? QString() : QStringLiteral("\n")) + said;
    if (!problem.isEmpty())
        ShowErrorBox(ToCp1251(problem));
    return true;
}

} // namespace

int RunProgram(TApplication& app, int argc, char** argv, const std::function<void()>& beforeShow) {
    PrepareApplication(app);
    if (!ChooseChampionsFile(argc, argv))
        return 2;
    TSingleInstance instance(
        TSingleInstance::ServerNameFor(PersonalDataFolder(), ChampionsFileNativePath()));
    if (instance.Claim() == TSingleInstance::TClaim::Running)
        return HandOverToRunningCopy(instance);
    QObject::connect(&instance, &TSingleInstance::frontRequested, &BringVisibleWindowToFront);
    CreateMainWindow();
    StartResultsLog(resultsFile, Session(), Form1);
    CreateOtherWindowsAfterFirstFrame();
    // Caught only from here: before the windows exist there is nothing to save.
    TTerminationSignals termination;
    EndOnTermination(termination);
    if (beforeShow)
        beforeShow();
    Form1->show();
    const int status = app.exec();
    FinishResultsLog();
    return status;
}

void CreateWindows() {
    CreateMainWindow();
    CreateOtherWindows();
}

void CreateMainWindow() {
    // The first window created is the main window. Each creation step runs
    // the way the old runtime runs a handler: an error goes to the error box
    // and start-up carries on with the next step.
    Form1 = new TForm1(Session());
    Form1->SetChampionsFile([] { Saving().LoadAtStart(); }, [] { Saving().SaveAtExit(); },
                            ChampionsFilePath());
    RunProtected([] { Form1->LoadLayoutPictures(); });
    RunProtected([] { Form1->FormCreate(); });
    ConnectMainWindow();
}

void CreateOtherWindows() {
    if (otherWindows != TOtherWindows::Absent)
        return;
    otherWindows = TOtherWindows::Creating;
    Form2 = new TForm2(Session());
    RunProtected([] { Form2->LoadLayoutPictures(); });
    RunProtected([] { Form2->FormCreate(); });
    Form3 = new TForm3();
    RunProtected([] { Form3->LoadLayoutPictures(); });
    RunProtected([] { Form3->FormCreate(); });
    AboutFrm = new TAboutFrm();
    RunProtected([] { AboutFrm->LoadLayoutPictures(); });
    ExplainFrm = new TExplainFrm();
    ConnectOtherWindows();
    otherWindows = TOtherWindows::Created;
}

void CreateOtherWindowsAfterFirstFrame() {
    Form1->installEventFilter(new TAfterFirstFrame(Form1));
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
    if (OtherWindows())
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
