// The program's entry point.
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/TerminationSignals.h"
#include "app/shell/Application.h"
#include "app/shell/MessageBoxes.h"
#include "champions/ChampionsLocation.h"
#include "engine/FloatEnv.h"
#include "quiz/Form1.h"

using namespace formulon::engine;

namespace {

// Another copy runs: bring it forward, or say so when it does not answer.
int HandOverToRunningCopy(const TSingleInstance& instance) {
    if (!instance.ReachRunningCopy())
        ShowInformationBox(QStringLiteral("Formulon уже запущен."));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    InitFloatingPointEnvironment();
    TApplication app(argc, argv);
    PrepareApplication(app);
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
