#include "app/Application.h"

#include "app/Fonts.h"
#include "app/TextCodec.h"
#include "engine/Errors.h"

#include <QMessageBox>

namespace {

TMessagePresenter errorPresenter;
TMessagePresenter informationPresenter;
TMessagePresenter warningPresenter;

// Shows a modal box with one OK button, or hands it to the test presenter.
void ShowBox(const TMessagePresenter& presenter, QMessageBox::Icon icon, const QString& caption,
             const QString& text) {
    if (presenter) {
        presenter(caption, text);
        return;
    }
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    box.exec();
}

} // namespace

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

std::string WithFullStop(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + '.';
    return message;
}

QString ErrorBoxText(const std::string& cp1251Message) {
    return FromCp1251(WithFullStop(cp1251Message));
}

void ShowErrorBox(const Exception& error) {
    ShowErrorBox(error.Message());
}

void ShowErrorBox(const std::string& cp1251Message) {
    ShowBox(errorPresenter, QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(cp1251Message));
}

void ShowException(const std::exception& error) {
    // Exception messages are code page 1251; a foreign std::exception's
    // what() is shown as the bytes it holds, read the same way.
    ShowErrorBox(error.what());
}

bool RunProtected(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowErrorBox("Unknown error");
    }
    return false;
}

std::function<void()> Handler(std::function<void()> handler) {
    return [handler = std::move(handler)] { RunProtected(handler); };
}

void ShowInformationBox(const QString& text) {
    ShowBox(informationPresenter, QMessageBox::Information, QStringLiteral("Information"), text);
}

void ShowWarningBox(const QString& text) {
    ShowBox(warningPresenter, QMessageBox::Warning, QStringLiteral("Warning"), text);
}

void SetErrorBoxPresenter(TMessagePresenter presenter) {
    errorPresenter = std::move(presenter);
}

void SetInformationBoxPresenter(TMessagePresenter presenter) {
    informationPresenter = std::move(presenter);
}

void SetWarningBoxPresenter(TMessagePresenter presenter) {
    warningPresenter = std::move(presenter);
}
