#include "app/shell/MessageBoxes.h"

#include "app/shell/Application.h"
#include "app/shell/TextCodec.h"
#include "app/shell/WidgetStyle.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace {

TMessagePresenter errorPresenter;
TMessagePresenter informationPresenter;
TMessagePresenter warningPresenter;
TQuestionPresenter questionPresenter;

// Set by EndMessageBoxes; the boxes open meanwhile, innermost last.
bool ending = false;
QList<QMessageBox*> openBoxes;

// Runs a modal box where EndMessageBoxes can close it.
void Run(QMessageBox& box) {
    openBoxes.append(&box);
    box.exec();
    openBoxes.removeOne(&box);
}

// Nobody is there to read a box any more: the text goes where a logout's
// messages go.
void Report(const QString& caption, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption),
                 qUtf8Printable(QString(text).replace(QLatin1Char('\r'), QLatin1Char(' '))));
}

// A message box centred on the screen at its final size: the box sizes
// itself to its text only as it is shown, after Qt has placed it, and its
// layout may still adjust that size once shown.
class TCentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        CentreOnScreen(this);
    }
    void resizeEvent(QResizeEvent* event) override {
        QMessageBox::resizeEvent(event);
        if (isVisible())
            CentreOnScreen(this);
    }
};

// Shows a modal box with one OK button, or hands it to the test presenter.
void ShowBox(const TMessagePresenter& presenter, QMessageBox::Icon icon, const QString& caption,
             const QString& text) {
    if (presenter) {
        presenter(caption, text);
        return;
    }
    if (ending) {
        Report(caption, text);
        return;
    }
    TCentredMessageBox box(icon, caption, text, QMessageBox::Ok);
    Run(box);
}

// A modal question with "Да" and "Нет"; "Нет" is the safe default.
bool AskQuestion(const QString& caption, const QString& text) {
    if (questionPresenter)
        return questionPresenter(caption, text);
    if (ending)
        return true;
    QMessageBox box(QMessageBox::Question, caption, text);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    Run(box);
    return ending || box.clickedButton() == yes;
}

} // namespace

std::string WithFullStop(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + '.';
    return message;
}

QString ErrorBoxText(const std::string& cp1251Message) {
    return FromCp1251(WithFullStop(cp1251Message));
}

void ShowErrorBox(const std::string& cp1251Message) {
    ShowBox(errorPresenter, QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(cp1251Message));
}

void ShowException(const std::exception& error) {
    // Exception messages are code page 1251; a foreign std::exception's
    // what() is shown as the bytes it holds, read the same way.
    ShowErrorBox(error.what());
}

void ShowInformationBox(const QString& text) {
    ShowBox(informationPresenter, QMessageBox::Information, QStringLiteral("Information"), text);
}

void ShowWarningBox(const QString& text) {
    ShowBox(warningPresenter, QMessageBox::Warning, QStringLiteral("Warning"), text);
}

void EndMessageBoxes() {
    ending = true;
    for (QMessageBox* box : openBoxes)
        box->done(QMessageBox::Ok);
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

bool AskQuitWithoutSaving(const QString& path) {
    const QString text = QStringLiteral("Рекорды не сохранены в файл\n") +
                         QFileInfo(path).absoluteFilePath() +
                         QStringLiteral("\nВыйти без сохранения?");
    return AskQuestion(ApplicationTitle(), text);
}

void SetQuestionBoxPresenter(TQuestionPresenter presenter) {
    questionPresenter = std::move(presenter);
}
