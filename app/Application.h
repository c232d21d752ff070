// The application object and start-up before the windows.
//
// Every error that escapes an event handler reaches TApplication::notify,
// which shows it in the standard error box and lets the program go on; the
// handlers the windows protect themselves (RunProtected) report theirs to
// the same box.
#pragma once

#include <QApplication>
#include <QString>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    // Ends the formula typesetter's thread while the windowing system,
    // which its drawing uses, is still there.
    ~TApplication() override;
    // Sets the title "Formulon" as the application's name.
    void SetTitle(const QString& title);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Start-up before the windows: the title "Formulon", the desktop file name
// and the window icon, Qt's own texts in Russian, the style (no image plugin
// loaded for a first frame), the font substitutions, every window kept on
// its screen, the activation handed back when a modal window closes, a
// screen reader told of every widget shown, the look the user chose
// ("Крупно и контрастно" or the layouts'), and no quitting when the last
// window hides (the main window is hidden while another replaces it; only
// its close handler quits).
void PrepareApplication(TApplication& app);
