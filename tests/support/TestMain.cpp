// The GUI tests' main: GoogleTest first, then the application object.
#include "app/shell/Application.h"
#include "app/shell/Modules.h"
#include "engine/FloatEnv.h"
#include "tests/support/TestSupport.h"

#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace formulon::engine;

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never the user's real champions file: a home of this run's own.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);

    // Test programs live elsewhere in the build tree than the program.
    AddModuleFolder(QStringLiteral(FORMULON_MATHJAX_BUILD_DIR));
    InitFloatingPointEnvironment();
    TApplication app(argc, argv);
    PrepareApplication(app);
    FailOnUnexpectedBoxes();
    return RUN_ALL_TESTS();
}
