// The application object and the standard error box.
//
// Every error that escapes an event handler reaches TApplication::notify,
// which shows it in the standard error box and lets the program go on.
// Window creation handlers run inside RunProtected, which does the same.
#pragma once

#include <QApplication>
#include <QString>

#include "engine/Errors.h"

#include <exception>
#include <functional>
#include <string>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    // Sets the title "Formulon" (name and display name).
    void SetTitle(const QString& title);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The application's title: caption of the error box.
QString ApplicationTitle();

// The message as the error box shows it: a full stop added when its last
// character sorts after '.' (compared as code page 1251 bytes).
std::string WithFullStop(const std::string& cp1251Message);

// Shows the standard error box for an error: caption = application title,
// text = the message (code page 1251 for Exception, else what()) with the
// full-stop rule, error icon, one OK button.
void ShowException(const std::exception& error);
void ShowErrorBox(const std::string& cp1251Message);
void ShowErrorBox(const Exception& error);

// The error box's text for a code page 1251 message, full stop included.
QString ErrorBoxText(const std::string& cp1251Message);

// A handler ready to connect to a signal: it runs inside RunProtected, so
// an error is shown right where the handler was called and never unwinds
// through Qt's own frames, which are built without exception cleanup.
std::function<void()> Handler(std::function<void()> handler);

// Runs one handler the way the framework runs it: an error that escapes is
// shown in the error box and the handler's remaining steps are skipped.
// Returns false when an error was shown.
bool RunProtected(const std::function<void()>& handler);

// The information box of a changed champions file (caption "Information", information icon,
// one OK button). The text is given in Unicode.
void ShowInformationBox(const QString& text);

// The framework's standard warning box: caption "Warning", one OK button,
// centred on the screen.
void ShowWarningBox(const QString& text);

// Test seams: replace how the boxes are shown (an empty function restores
// the real modal QMessageBox). Only tests use these.
using TMessagePresenter = std::function<void(const QString& caption, const QString& text)>;
void SetErrorBoxPresenter(TMessagePresenter presenter);
void SetInformationBoxPresenter(TMessagePresenter presenter);
void SetWarningBoxPresenter(TMessagePresenter presenter);

// Layout pictures from the Qt resources. A missing picture raises
// Exception "Resource <path> not found", which the caller's error path
// shows; it never yields a blank.
class QIcon;
class QImage;
QIcon IconResource(const QString& path);
// An icon whose disabled state shows a picture of its own.
QIcon IconResource(const QString& path, const QString& disabledPath);
QImage JpegResource(const QString& path);

// Start-up before the windows: the title "Formulon", the font
// substitutions, and no quitting when the last window hides (the main window
// is hidden while another replaces it; only its close handler quits).
void PrepareApplication(TApplication& app);

// Start-up's window set: creates Form1, Form2, Form3 and
// AboutFrm in that order, each creation handler inside RunProtected.
void CreateWindows();
