// The GUI tests' main: GoogleTest first, then the application object.
#include "app/Application.h"
#include "engine/FloatEnv.h"
#include "tests/support/TestSupport.h"
#include "ui/Modules.h"

#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace formulon::engine;

namespace {

QtMessageHandler qtHandler = nullptr;

// Debian's fonts lack OpenType tables for many scripts, and Qt says so for
// each font it falls back to: thousands of lines for a text of every script,
// which bury a failing test's own words in the log.
void DropFontNoise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("OpenType support missing for")))
        return;
    qtHandler(type, context, message);
}

} // namespace

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
    qtHandler = qInstallMessageHandler(DropFontNoise);
    TApplication app(argc, argv);
    PrepareApplication(app);
    FailOnUnexpectedBoxes();
    return RUN_ALL_TESTS();
}
