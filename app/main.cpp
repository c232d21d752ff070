// The program's entry point.
#include "app/Startup.h"
#include "app/shell/Application.h"
#include "engine/FloatEnv.h"
#include "quiz/Form1.h"

using namespace formulon::engine;

int main(int argc, char* argv[]) {
    InitFloatingPointEnvironment();
    TApplication app(argc, argv);
    PrepareApplication(app);
    CreateWindows();
    Form1->show();
    return app.exec();
}
