#include "app/Startup.h"

#include "app/Application.h"
#include "app/ChampionsSaving.h"
#include "app/CommandLine.h"
#include "app/ErrorBox.h"
#include "app/FTAbout/FTAbout.h"
#include "app/ResultsLogging.h"
#include "app/SingleInstance.h"
#include "app/TaskSetFiles.h"
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
#include "typeset/TaskPictureSet.h"
#include "ui/Handler.h"
#include "ui/MessageBoxes.h"
#include "ui/TextCodec.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include <algorithm>
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

// The task set file the quiz plays, chosen at start; empty for the
// standard set.
QByteArray taskSetPath;

// The sets practice offers: the standard one, the installed ones, and the
// set the quiz plays. Sets refused are said once, as practice first opens.
std::vector<std::shared_ptr<const TTaskSet>> PracticeSets() {
    QStringList refusals;
    std::vector<std::shared_ptr<const TTaskSet>> sets = InstalledTaskSets(&refusals);
    const TTaskSet& played = Form1->TaskPictures().Set();
    const bool listed = std::any_of(sets.begin(), sets.end(), [&played](const auto& set) {
        return set->Name() == played.Name();
    });
    if (!listed)
        sets.push_back(Form1->TaskPictures().SetShared());
    if (!refusals.isEmpty())
        ShowErrorBox(ToCp1251(refusals.join('\n')));
    return sets;
}

// Practice adds nothing to start-up: its window, pictures and progress come
// with its first opening.
void ShowPractice() {
    static TPracticeSession practice(Session());
    if (!PracticeFrm) {
        PracticeFrm = new TPracticeFrm(practice);
        PracticeFrm->SetProgressFile(LoadPracticeProgress, SavePracticeProgress);
        PracticeFrm->SetTaskSets(PracticeSets());
        QObject::connect(PracticeFrm, &TPracticeFrm::checkMade, PracticeFrm, &LogPracticeCheck);
    }
    PracticeFrm->ShowPractice(Form1);
}

QStringList Texs(const TTaskTable& tasks) {
    QStringList texs;
    for (const TTaskRow& row : tasks.Rows())
        texs << QString::fromUtf8(row.Tex.data(), static_cast<qsizetype>(row.Tex.size()));
    return texs;
}

// The set's pictures are all there: the quiz plays it, with its own
// champions table, which is loaded only now.
void PlaySet(std::shared_ptr<const TTaskSet> set, TTaskPictureSet* pictures) {
    Session().PlayTasks(set->Table());
    UseTaskSetTable(QFile::encodeName(QString::fromStdString(set->Name())));
    Form1->SetTaskPictures(TTaskPictures(set, pictures));
    if (ExplainFrm)
        ExplainFrm->SetTaskPictures(Form1->TaskPictures());
    Form1->ShowPreparing(false);
    Form1->SetChampionsFile([] { Saving().LoadAtStart(); }, [] { Saving().SaveAtExit(); },
                            ChampionsFilePath());
    RunProtected([] { Form1->FormCreate(); });
}

// A TeX that does not typeset: the standard set is played, and said why.
void PlayStandardSet(const QString& why) {
    Form1->ShowPreparing(false);
    ShowErrorBox(ToCp1251(why));
    RunProtected([] { Form1->FormCreate(); });
}

// The set of the command line or the setting: read now, its pictures made
// (from the cache at once, or typeset while "Начать" waits), then played;
// the main window's creation handler runs once that is decided, so the
// champions table read is the set's. Without a set it runs at once.
void PrepareTaskSet() {
    if (taskSetPath.isEmpty()) {
        RunProtected([] { Form1->FormCreate(); });
        return;
    }
    const TTaskSetReading reading = ReadTaskSetFile(taskSetPath);
    if (const auto* refusal = std::get_if<TTaskSetRefusal>(&reading)) {
        PlayStandardSet(RefusalText(taskSetPath, *refusal) +
                        QStringLiteral(" Играем стандартный набор."));
        return;
    }
    const std::shared_ptr<const TTaskSet> set = std::get<0>(reading);
    auto* pictures = new TTaskPictureSet(Texs(set->Table()), Form1->devicePixelRatioF(), Form1);
    QObject::connect(pictures, &TTaskPictureSet::completed, Form1,
                     [set, pictures] { PlaySet(set, pictures); });
    QObject::connect(
        pictures, &TTaskPictureSet::refused, Form1, [set](int entry, const QString& why) {
            const QString line = QStringLiteral("строка %1: %2").arg(set->Line(entry)).arg(why);
            PlayStandardSet(RefusalText(taskSetPath, {set->Line(entry), line.toStdString()}) +
                            QStringLiteral(" Играем стандартный набор."));
        });
    Form1->ShowPreparing(true);
    pictures->Load();
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

// The champions file, the results log and the task set this run uses; false when the
// arguments are refused.
bool ChooseChampionsFile(int argc, char** argv) {
    const TCommandLine line = ParseCommandLine(argc, argv);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "formulon: %s\n%s", qUtf8Printable(line.error),
                     qUtf8Printable(UsageText()));
        return false;
    }
    QString problem, setProblem;
    UseClassTable(ChooseClassTable(line, &problem));
    QString resultsProblem;
    resultsFile = ChooseResultsFile(line, &resultsProblem);
    taskSetPath = ChooseTaskSetFile(line, &setProblem);
    // All read the same settings files: a problem of one is said once.
    for (const QString& said : (resultsProblem + '\n' + setProblem).split('\n', Qt::SkipEmptyParts))
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
        TSingleInstance::ServerNameFor(PersonalDataFolder(), StandardChampionsFileNativePath()));
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
    PrepareTaskSet();
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
    ExplainFrm->SetTaskPictures(Form1->TaskPictures());
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
