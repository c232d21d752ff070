// The program's entry point.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "engine/FloatEnv.h"

#include <cstdio>

using namespace formulon::engine;

int main(int argc, char* argv[]) {
    // Answered before anything needs a display.
    if (AsksForHelp(argc, argv)) {
        std::fputs(qUtf8Printable(UsageText()), stdout);
        return 0;
    }
    InitFloatingPointEnvironment();
    TApplication app(argc, argv); // takes Qt's own arguments out of argv
    return RunProgram(app, argc, argv);
}
