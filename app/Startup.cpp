#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/FTAbout/FTAbout.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "app/shell/Application.h"
#include "app/shell/Handler.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/TextCodec.h"
#include "champions/ChampionsFile.h"
#include "champions/ChampionsLocation.h"
#include "champions/Form3.h"
#include "quiz/ExplainFrm.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"

#include <QApplication>

#include <cstdio>
#include <exception>

namespace {

// The windows' requests of one another. Every window exists by now; the
// connections run synchronously, in the order the windows ask.
void ConnectWindows() {
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
    QObject::connect(Form1, &TForm1::explainRequested, ExplainFrm,
                     Handler([] { ExplainFrm->ShowExplain(Form1); }));
    QObject::connect(Form2, &TForm2::explainRequested, ExplainFrm,
                     Handler([] { ExplainFrm->ShowExplain(Form2); }));
}

// Another copy runs: bring it forward, or say so when it does not answer.
int HandOverToRunningCopy(const TSingleInstance& instance) {
    if (!instance.ReachRunningCopy())
        ShowInformationBox(QStringLiteral("Formulon уже запущен."));
    return 0;
}

// The champions file this run uses; false when the arguments are refused.
bool ChooseChampionsFile(int argc, char** argv) {
    const TCommandLine line = ParseCommandLine(argc, argv);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "formulon: %s\n%s", qUtf8Printable(line.error),
                     qUtf8Printable(UsageText()));
        return false;
    }
    QString problem;
    UseClassTable(ChooseClassTable(line, &problem));
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
    CreateWindows();
    // Caught only from here: before the windows exist there is nothing to save.
    TTerminationSignals termination;
    EndOnTermination(termination);
    if (beforeShow)
        beforeShow();
    Form1->show();
    return app.exec();
}

void CreateWindows() {
    // The first window created is the main window. Each creation step runs
    // the way the old runtime runs a handler: an error goes to the error box
    // and start-up carries on with the next step.
    Form1 = new TForm1();
    Form1->SetChampionsFile([] { LoadChampions(); }, [] { SaveChampions(); }, ChampionsFilePath());
    RunProtected([] { Form1->LoadLayoutPictures(); });
    RunProtected([] { Form1->FormCreate(); });
    Form2 = new TForm2();
    RunProtected([] { Form2->LoadLayoutPictures(); });
    RunProtected([] { Form2->FormCreate(); });
    Form3 = new TForm3();
    RunProtected([] { Form3->LoadLayoutPictures(); });
    RunProtected([] { Form3->FormCreate(); });
    AboutFrm = new TAboutFrm();
    RunProtected([] { AboutFrm->LoadLayoutPictures(); });
    ExplainFrm = new TExplainFrm();
    ConnectWindows();
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
