#include "app/shell/Application.h"

#include "app/shell/Fonts.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/TypesetService.h"
#include "app/shell/WidgetStyle.h"
#include "app/shell/Windowing.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TApplication::~TApplication() {
    TTypesetService::StopShared();
}

// Only the name: a display name would make Qt append " — Formulon" to every
// other window's title as the window manager shows it.
void TApplication::SetTitle(const QString& title) {
    setApplicationName(title);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowErrorBox("Unknown error");
    }
    return false;
}

void PrepareApplication(TApplication& app) {
    app.SetTitle(QStringLiteral("Formulon"));
    TApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    KeepWindowsOnScreen(app);
    ReturnActivationAfterModals(app);
}

QString ApplicationTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Formulon") : name;
}
