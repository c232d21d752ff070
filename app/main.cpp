// The program's entry point.
#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TerminationSignals.h"
#include "app/shell/Application.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/TextCodec.h"
#include "champions/ChampionsLocation.h"
#include "engine/FloatEnv.h"
#include "quiz/Form1.h"

#include <cstdio>

using namespace formulon::engine;

namespace {

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

int main(int argc, char* argv[]) {
    // Answered before anything needs a display.
    if (AsksForHelp(argc, argv)) {
        std::fputs(qUtf8Printable(UsageText()), stdout);
        return 0;
    }
    InitFloatingPointEnvironment();
    TApplication app(argc, argv); // takes Qt's own arguments out of argv
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
    Form1->show();
    return app.exec();
}
