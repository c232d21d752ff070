#include "app/Application.h"

#include "app/ErrorBox.h"
#include "typeset/MathTypesetter.h"
#include "typeset/TypesetService.h"
#include "ui/AtSpiSignals.h"
#include "ui/Fonts.h"
#include "ui/Handler.h"
#include "ui/LargeText.h"
#include "ui/Look.h"
#include "ui/Pictures.h"
#include "ui/WidgetStyle.h"
#include "ui/Windowing.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Qt's own texts (the answer box's context menu, standard buttons) in
// Russian, from Debian's qt6-translations-l10n. The file is named outright,
// so loading it costs one look-up and a mapping, no search by locale.
// Without it they stay English.
void LoadQtTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

// The window icon from the bitmaps task bars and window lists ask for; no
// vector drawing. Read when a window first needs it: on X11 as the main
// window is mapped, never on a platform that has no window icons.
QIcon ProgramIcon() {
    return DeferredIcon([] {
        QIcon icon;
        for (const int size : {16, 32, 48, 64})
            icon.addFile(QStringLiteral(":/icons/formulon-%1.png").arg(size), QSize(size, size));
        return icon;
    });
}

// Called ahead of QApplication's constructor, while no other thread runs.
int& WithoutJavaScriptCompiler(int& argc) {
    RunJavaScriptInterpreted();
    return argc;
}

} // namespace

TApplication::TApplication(int& argc, char** argv)
    : QApplication(WithoutJavaScriptCompiler(argc), argv) {
    SetErrorReporter(ShowErrorBox);
}

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
    // Desktops match the windows to the menu entry, and so to its icon, by
    // this name; the window class (the title above) matches its
    // StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.formulon"));
    QGuiApplication::setWindowIcon(ProgramIcon());
    LoadQtTranslation(app);
    TApplication::setQuitOnLastWindowClosed(false);
    KeepImagePluginsOffTheFirstFrame();
    InstallFontSubstitutions();
    KeepWindowsOnScreen(app);
    ReturnActivationAfterModals(app);
    AnnounceVisibility(app);
    KeepTextsFitted(app);
    if (StoredLook() != TLook::Layout)
        SetLook(StoredLook());
}
