#include "app/shell/Application.h"

#include "app/shell/Fonts.h"
#include "app/shell/MessageBoxes.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void TApplication::SetTitle(const QString& title) {
    setApplicationName(title);
    setApplicationDisplayName(title);
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
}

QString ApplicationTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Formulon") : name;
}
