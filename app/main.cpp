// The program's entry point.
#include "app/Application.h"
#include "app/Fonts.h"
#include "engine/FloatEnv.h"
#include "quiz/Form1.h"

int main(int argc, char* argv[]) {
    InitFloatingPointEnvironment();
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Formulon"));
    // Hiding the main window while another is shown must not end the
    // program; only the main window's close handler quits.
    TApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    CreateWindows();
    Form1->show();
    return app.exec();
}
