#include "app/Application.h"

#include "app/TextCodec.h"
#include "engine/Errors.h"

#include <QMessageBox>

namespace {

TMessagePresenter errorPresenter;
TMessagePresenter informationPresenter;

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

void ShowErrorBox(const Exception& error) { ShowErrorBox(error.Message()); }

void ShowErrorBox(const std::string& cp1251Message) {
    const QString caption = ApplicationTitle();
    const QString text = ErrorBoxText(cp1251Message);
    if (errorPresenter) {
        errorPresenter(caption, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    box.exec();
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

void ShowInformationBox(const QString& text) {
    const QString caption = QStringLiteral("Information");
    if (informationPresenter) {
        informationPresenter(caption, text);
        return;
    }
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok);
    box.exec();
}

void SetErrorBoxPresenter(TMessagePresenter presenter) {
    errorPresenter = std::move(presenter);
}

void SetInformationBoxPresenter(TMessagePresenter presenter) {
    informationPresenter = std::move(presenter);
}
