#include "app/FTAbout/FTAbout.h"

#include "formulon/Version.h"
#include "ui/AccessibleTree.h"
#include "ui/AtSpiSignals.h"
#include "ui/Pictures.h"
#include "ui/Resources.h"
#include "ui/WidgetStyle.h"
#include "ui/Windowing.h"

#include <QDesktopServices>
#include <QFont>
#include <QFrame>
#include <QPalette>

#include <iterator>
#include <utility>

TAboutFrm* AboutFrm = nullptr;

namespace {

TLinkOpener& LinkOpener() {
    static TLinkOpener opener;
    return opener;
}

// Width or height 0: the control sizes itself to its content.
void Place(QWidget* control, int left, int top, int width = 0, int height = 0) {
    if (width == 0 || height == 0) {
        control->adjustSize();
        width = width ? width : control->width();
        height = height ? height : control->height();
    }
    control->setGeometry(left, top, width, height);
}

} // namespace

void OpenShellLink(const QString& link) {
    const QUrl url(link);
    if (LinkOpener())
        (void)LinkOpener()(url);
    else
        (void)QDesktopServices::openUrl(url);
}

void SetLinkOpener(TLinkOpener opener) {
    LinkOpener() = std::move(opener);
}

TAboutFrm::TAboutFrm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Информация"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    SetTitleButtons(this, TTitleButtons::Close);
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    SetBackground(this, clAqua);
    // A reader meets the page shown, not the hidden one.
    ShowOnlyWhatShows(this, QAccessible::Dialog);
    CreateControls();
    Layout();
    ConnectHandlers();
    MakeKeyboardReachable();
    Panel2->hide();
}

// Tab follows the reading order: the banner's link, the links of the page
// shown, the page labels and "Закрыть". Each link says where it leads.
void TAboutFrm::MakeKeyboardReachable() {
    Label1->SetAccessibleRole(QAccessible::PageTab);
    Label2->SetAccessibleRole(QAccessible::PageTab);
    Label3->SetAccessibleRole(QAccessible::Button);
    TClickLabel* const order[] = {Image1, Label15, Label17, Label22, Label1, Label2, Label3};
    for (TClickLabel* label : order) {
        label->setFocusPolicy(Qt::TabFocus);
        label->setAccessibleName(label->text());
    }
    Image1->setAccessibleName(QStringLiteral("Баннер Formulon, ссылка на сайт программы"));
    Label15->setAccessibleName(QStringLiteral("Сайт программы: ") + kProgramSite);
    Label17->setAccessibleName(QStringLiteral("Написать автору: ") + kSupportMail);
    Label22->setAccessibleName(QStringLiteral("Поддержать проект: ") + kSupportPage);
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TAboutFrm::CreateControls() {
    Image1 = new TClickLabel(this);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QStringLiteral("Goto ") + kProgramSite);

    for (QFrame** panel : {&Panel1, &Panel2}) {
        *panel = new QFrame(this);
        (*panel)->setFrameShape(QFrame::NoFrame);
        SetBackground(*panel, clAqua);
    }

    const QFont menuFont = PixelFont(QStringLiteral("Arial"), 13, kBold);
    const std::pair<TClickLabel**, QString> menu[] = {
        {&Label1, QStringLiteral("О программе")},
        {&Label2, QStringLiteral("Обратная связь")},
        {&Label3, QStringLiteral("Закрыть")},
    };
    for (const auto& [label, text] : menu) {
        *label = new TClickLabel(text, this);
        (*label)->setAlignment(Qt::AlignCenter);
        (*label)->setFont(menuFont);
        (*label)->setCursor(Qt::PointingHandCursor);
        SetTextColour(*label, clYellow);
        SetBackground(*label, clBlue);
    }

    // The program page: caption on the left, value on the right.
    const QFont captionFont = PixelFont(QStringLiteral("Times New Roman"), 16);
    const QFont valueFont = PixelFont(QStringLiteral("MS Sans Serif"), 11);
    const std::pair<QLabel**, QString> program[] = {
        {&Label4, QStringLiteral("Программа:")},
        {&Label5, QStringLiteral("\"Formulon\"")},
        {&Label6, QStringLiteral("Версия:")},
        {&Label7, QString::fromLatin1(kProgramVersion)},
        {&Label8, QStringLiteral("Главный разработчик:")},
        {&Label9, QStringLiteral("Команда Formulon")},
        {&Label10, QStringLiteral("Дата создания:")},
        {&Label13, QStringLiteral("2003 год")},
        {&Label11, QStringLiteral("Последние обновление:")},
        {&Label12, QStringLiteral("12.03.2007")},
        {&Label20, QStringLiteral("От автора:")},
        {&Label21, QStringLiteral("Пишите программы мелким почерком")},
    };
    bool caption = true;
    for (const auto& [label, text] : program) {
        *label = new QLabel(text, Panel1);
        (*label)->setFont(caption ? captionFont : valueFont);
        SetTextColour(*label, caption ? clWhite : clBlue);
        if (!caption)
            (*label)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption = !caption;
    }

    // The feedback page: three captions and three links.
    const QFont feedbackFont = PixelFont(QStringLiteral("Times New Roman"), 15);
    const QFont linkFont = PixelFont(QStringLiteral("MS Sans Serif"), 11, kUnderline);
    const std::pair<QLabel**, QString> captions[] = {
        {&Label14, QStringLiteral("Сайт программы:")},
        {&Label16, QStringLiteral("Написать автору:")},
        {&Label18, QStringLiteral("Вам понравилась программа???")},
        {&Label19, QStringLiteral("Вы поддержать проэкт по адресу")},
    };
    for (const auto& [label, text] : captions) {
        *label = new QLabel(text, Panel2);
        (*label)->setFont(feedbackFont);
        SetTextColour(*label, clWhite);
    }
    // The support page's address is wider than the page: it breaks after
    // the site's address.
    const std::pair<TClickLabel**, QString> links[] = {
        {&Label15, kProgramSite},
        {&Label17, kSupportMail},
        {&Label22, QString(kSupportPage).replace(kProgramSite, kProgramSite + '\n')},
    };
    for (const auto& [label, text] : links) {
        *label = new TClickLabel(text, Panel2);
        (*label)->setFont(linkFont);
        (*label)->setCursor(Qt::PointingHandCursor);
        SetTextColour(*label, clBlue);
    }
}

// Positions are left, top in the window or in the panel; 0 sizes to content.
void TAboutFrm::Layout() {
    setFixedSize(284, 358);
    move(309, 115);
    Place(Image1, 0, 0, 275, 106); // then sized to its picture
    Place(Panel1, 0, 104, 281, 169);
    Place(Panel2, 0, 104, 281, 169);
    Place(Label1, 0, 280, 289, 17);
    Place(Label2, 0, 304, 289, 17);
    Place(Label3, 0, 328, 289, 17);
    // Panel1, the program page.
    Place(Label4, 8, 6);
    Place(Label5, 160, 9, 113, 14);
    Place(Label6, 8, 30);
    Place(Label7, 160, 33, 113, 14);
    Place(Label8, 8, 54);
    Place(Label9, 160, 57, 113, 14);
    Place(Label10, 8, 78);
    Place(Label13, 160, 81, 113, 14);
    Place(Label11, 8, 102);
    Place(Label12, 160, 105, 113, 14);
    Place(Label20, 8, 126);
    Place(Label21, 8, 148, 265, 14);
    // Panel2, the feedback page.
    Place(Label14, 8, 4);
    Place(Label15, 16, 24);
    Place(Label16, 8, 46);
    Place(Label17, 16, 66);
    Place(Label18, 8, 90);
    Place(Label19, 8, 110);
    Place(Label22, 16, 132);
}

void TAboutFrm::LoadLayoutPictures() {
    ShowPicture(Image1, BannerPicture);
    Image1->resize(Image1->pixmap().deviceIndependentSize().toSize());
}

void TAboutFrm::ConnectHandlers() {
    connect(Label1, &TClickLabel::mouseEntered, this, &TAboutFrm::Label1MouseEnter);
    connect(Label1, &TClickLabel::mouseLeft, this, &TAboutFrm::Label1MouseLeave);
    connect(Label2, &TClickLabel::mouseEntered, this, &TAboutFrm::Label2MouseEnter);
    connect(Label2, &TClickLabel::mouseLeft, this, &TAboutFrm::Label2MouseLeave);
    connect(Label3, &TClickLabel::mouseEntered, this, &TAboutFrm::Label3MouseEnter);
    connect(Label3, &TClickLabel::mouseLeft, this, &TAboutFrm::Label3MouseLeave);
    connect(Label1, &TClickLabel::clicked, this, &TAboutFrm::Label1Click);
    connect(Label2, &TClickLabel::clicked, this, &TAboutFrm::Label2Click);
    connect(Label3, &TClickLabel::clicked, this, &TAboutFrm::Label3Click);
    connect(Image1, &TClickLabel::clicked, this, &TAboutFrm::Image1Click);
    connect(Label15, &TClickLabel::clicked, this, &TAboutFrm::Label15Click);
    connect(Label17, &TClickLabel::clicked, this, &TAboutFrm::Label17Click);
    connect(Label22, &TClickLabel::clicked, this, &TAboutFrm::Label22Click);
}

void TAboutFrm::ShowAbout() {
    ShowPage(Panel1);
    Label1->setFocus(); // the keyboard starts on the page shown
    exec();
}

// The page label that has the keys says which page shows, so a reader
// hears the switch.
void TAboutFrm::ShowPage(QFrame* page) {
    Panel1->setVisible(page == Panel1);
    Panel2->setVisible(page == Panel2);
    Describe(Label1,
             page == Panel1 ? QStringLiteral("Показана страница «О программе»") : QString());
    Describe(Label2,
             page == Panel2 ? QStringLiteral("Показана страница «Обратная связь»") : QString());
}

// A label the pointer was over when the window closed never saw it leave:
// each showing starts from the layout's colours.
void TAboutFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    for (TClickLabel* label : {Label1, Label2, Label3})
        SetBackground(label, clBlue);
}

void TAboutFrm::Label1MouseEnter() {
    SetBackground(Label1, clPurple);
}
void TAboutFrm::Label1MouseLeave() {
    SetBackground(Label1, clBlue);
}
void TAboutFrm::Label2MouseEnter() {
    SetBackground(Label2, clPurple);
}
void TAboutFrm::Label2MouseLeave() {
    SetBackground(Label2, clBlue);
}
void TAboutFrm::Label3MouseEnter() {
    SetBackground(Label3, clRed);
}
void TAboutFrm::Label3MouseLeave() {
    SetBackground(Label3, clBlue);
}

void TAboutFrm::Label1Click() {
    ShowPage(Panel1);
}

void TAboutFrm::Label2Click() {
    ShowPage(Panel2);
}

void TAboutFrm::Label3Click() {
    close();
}

void TAboutFrm::Image1Click() {
    OpenShellLink(kProgramSite);
}
void TAboutFrm::Label15Click() {
    OpenShellLink(kProgramSite);
}
void TAboutFrm::Label17Click() {
    OpenShellLink(QStringLiteral("mailto:") + kSupportMail);
}
void TAboutFrm::Label22Click() {
    OpenShellLink(kSupportPage);
}
