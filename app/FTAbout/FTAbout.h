// The about window: the program page and the feedback page.
//
// Opening: ShowAbout() puts the program page in front and shows the window
// modally; it returns when "Закрыть" or the close button ends the showing.
#pragma once

#include "ui/PressLabel.h"

#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QString>
#include <QUrl>

#include <functional>

class QFrame;

// The program's own addresses.
inline const QString kProgramSite = QStringLiteral("https://formulon.example.org/");
inline const QString kSupportMail = QStringLiteral("support@formulon.example.org");
inline const QString kSupportPage =
    QStringLiteral("https://formulon.example.org/Information.cgi?type=support");

// Hands a link to the desktop shell for its default action (browser for a
// web address, mail program for "mailto:"). The outcome is ignored: the
// program says nothing of its own when a link cannot be opened.
void OpenShellLink(const QString& link);

// Test seam: replaces what opens a link (an empty function restores
// QDesktopServices::openUrl). Only tests use this.
using TLinkOpener = std::function<bool(const QUrl&)>;
void SetLinkOpener(TLinkOpener opener);

// The about window's pressable labels (the banner, the links, the page
// switches, "Закрыть"): their focus frame keeps clear of the edge pixels,
// whose colour is the label's state under the mouse.
class TClickLabel : public TPressLabel {
    Q_OBJECT
public:
    explicit TClickLabel(QWidget* parent) : TPressLabel(parent, 2) {}
    TClickLabel(const QString& text, QWidget* parent) : TPressLabel(text, parent, 2) {}
};

class TAboutFrm : public QDialog {
    Q_OBJECT
public:
    // Builds the controls; raises nothing.
    explicit TAboutFrm(QWidget* parent = nullptr);

    // The banner picture; raises Exception when it is missing.
    void LoadLayoutPictures();

    // Program page first, then modal showing; returns when it is closed.
    void ShowAbout();

    TClickLabel* Image1 = nullptr;
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    TClickLabel* Label1 = nullptr;
    TClickLabel* Label2 = nullptr;
    TClickLabel* Label3 = nullptr;
    // Program page: captions and values.
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;
    // Feedback page.
    QLabel* Label14 = nullptr;
    TClickLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    TClickLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    TClickLabel* Label22 = nullptr;

    void Label1MouseEnter();
    void Label1MouseLeave();
    void Label2MouseEnter();
    void Label2MouseLeave();
    void Label3MouseEnter();
    void Label3MouseLeave();
    void Label1Click();
    void Label2Click();
    void Label3Click();
    void Image1Click();
    void Label15Click();
    void Label17Click();
    void Label22Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void Layout();
    void ConnectHandlers();
    void MakeKeyboardReachable();
    // Shows the page (Panel1 or Panel2) and hides the other.
    void ShowPage(QFrame* page);
};

extern TAboutFrm* AboutFrm;
