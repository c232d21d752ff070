#include "ui/MessageBoxes.h"

#include "engine/Errors.h"
#include "ui/TextCodec.h"
#include "ui/WidgetStyle.h"
#include "ui/Windowing.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include <cstdio>

namespace {

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

// Room a title bar keeps beside its caption: the window's icon and three
// buttons with their margins. A box narrower than its caption plus this
// shows the caption cut short ("W… ng").
constexpr int kTitleBarButtonsWidth = 160;

// The box's look beyond what QMessageBox gives: the close button only, wide
// enough for its caption, and a name for its icon.
void FinishBox(QMessageBox& box) {
    SetTitleButtons(&box, TTitleButtons::Close);
    QFont titleFont = box.font();
    titleFont.setBold(true); // most title bars set the caption in bold
    const int width =
        QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarButtonsWidth;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    static const QHash<int, QString> iconNames = {
        {QMessageBox::Critical, QStringLiteral("Значок: ошибка")},
        {QMessageBox::Warning, QStringLiteral("Значок: предупреждение")},
        {QMessageBox::Information, QStringLiteral("Значок: сообщение")},
        {QMessageBox::Question, QStringLiteral("Значок: вопрос")},
    };
    if (auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
        icon->setAccessibleName(iconNames.value(box.icon()));
}

// Qt breaks lines only at line feeds; a lone carriage return, as the old
// runtime's boxes break at, is shown as a line break too.
QString ShownText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
}

QMessageBox::Icon BoxIcon(TBoxIcon icon) {
    switch (icon) {
    case TBoxIcon::Critical:
        return QMessageBox::Critical;
    case TBoxIcon::Warning:
        return QMessageBox::Warning;
    case TBoxIcon::Information:
        break;
    }
    return QMessageBox::Information;
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
    FinishBox(box);
    Run(box);
    return ending || box.clickedButton() == yes;
}

} // namespace

QString ApplicationTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Formulon") : name;
}

QString ErrorBoxText(const std::string& cp1251Message) {
    return FromCp1251(formulon::engine::WithFullStop(cp1251Message));
}

void ShowMessageBox(TBoxIcon icon, const QString& caption, const QString& text,
                    const TMessagePresenter& presenter) {
    if (presenter) {
        presenter(caption, text);
        return;
    }
    if (ending) {
        Report(caption, text);
        return;
    }
    TCentredMessageBox box(BoxIcon(icon), caption, ShownText(text), QMessageBox::Ok);
    FinishBox(box);
    Run(box);
}

void ShowInformationBox(const QString& text) {
    ShowMessageBox(TBoxIcon::Information, QStringLiteral("Information"), text,
                   informationPresenter);
}

void ShowWarningBox(const QString& text) {
    ShowMessageBox(TBoxIcon::Warning, QStringLiteral("Warning"), text, warningPresenter);
}

void EndMessageBoxes() {
    ending = true;
    for (QMessageBox* box : openBoxes)
        box->done(QMessageBox::Ok);
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
