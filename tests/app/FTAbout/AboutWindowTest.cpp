// The about window: its pages, hover colours and links.
#include "app/FTAbout/FTAbout.h"
#include "tests/support/TestSupport.h"

#include <QFrame>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QColor kBlue(0, 0, 255);
const QColor kPurple(128, 0, 128);
const QColor kRed(255, 0, 0);

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        SetLinkOpener([this](const QUrl& url) {
            Opened << url.toString();
            return false; // as if the desktop could not open it
        });
    }
    void TearDown() override {
        SetLinkOpener({});
        AboutFrm->hide();
    }

    // Runs the modal showing; 'during' acts on the open window. A showing
    // that does not end within seconds is ended and reported.
    static void ShowAboutWhile(const std::function<void()>& during) {
        bool hung = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            hung = true;
            AboutFrm->reject();
        });
        QTimer::singleShot(0, AboutFrm, [&] {
            watchdog.start(5000);
            during();
        });
        AboutFrm->ShowAbout();
        watchdog.stop();
        EXPECT_FALSE(hung) << "the about window did not close";
    }

    static QColor Background(QWidget* label) { return label->grab().toImage().pixelColor(1, 1); }

    QStringList Opened;
};

TEST_F(AboutWindowTest, EveryOpeningStartsOnTheProgramPage) {
    ShowAboutWhile([] {
        EXPECT_TRUE(AboutFrm->Panel1->isVisible());
        EXPECT_FALSE(AboutFrm->Panel2->isVisible());
        QTest::mouseClick(AboutFrm->Label2, Qt::LeftButton);
        EXPECT_FALSE(AboutFrm->Panel1->isVisible());
        EXPECT_TRUE(AboutFrm->Panel2->isVisible());
        QTest::mouseClick(AboutFrm->Label3, Qt::LeftButton);
    });
    EXPECT_FALSE(AboutFrm->isVisible());

    ShowAboutWhile([] {
        EXPECT_TRUE(AboutFrm->Panel1->isVisible());
        EXPECT_FALSE(AboutFrm->Panel2->isVisible());
        QTest::mouseClick(AboutFrm->Label2, Qt::LeftButton);
        QTest::mouseClick(AboutFrm->Label1, Qt::LeftButton);
        EXPECT_TRUE(AboutFrm->Panel1->isVisible());
        EXPECT_FALSE(AboutFrm->Panel2->isVisible());
        AboutFrm->close(); // the window's own close button
    });
    EXPECT_FALSE(AboutFrm->isVisible());
}

TEST_F(AboutWindowTest, LabelsLightUpUnderTheMouse) {
    AboutFrm->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(AboutFrm));
    struct {
        TClickLabel* label;
        QColor hover;
    } const cases[] = {
        {AboutFrm->Label1, kPurple},
        {AboutFrm->Label2, kPurple},
        {AboutFrm->Label3, kRed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label->text().toStdString());
        QTest::mouseMove(AboutFrm->Image1, QPoint(100, 50));
        EXPECT_EQ(Background(c.label), kBlue);
        QTest::mouseMove(c.label, c.label->rect().center());
        EXPECT_EQ(Background(c.label), c.hover);
        QTest::mouseMove(AboutFrm->Image1, QPoint(100, 50));
        EXPECT_EQ(Background(c.label), kBlue);
    }
    // Moving straight from one label to the next lights only the new one.
    QTest::mouseMove(AboutFrm->Label2, AboutFrm->Label2->rect().center());
    QTest::mouseMove(AboutFrm->Label3, AboutFrm->Label3->rect().center());
    EXPECT_EQ(Background(AboutFrm->Label2), kBlue);
    EXPECT_EQ(Background(AboutFrm->Label3), kRed);
}

TEST_F(AboutWindowTest, LinksGoToTheShellAndLeaveTheWindowAsItWas) {
    struct {
        QWidget* (*target)();
        bool onFeedbackPage;
        const char* url;
    } const cases[] = {
        {[]() -> QWidget* { return AboutFrm->Image1; }, false, "https://formulon.example.org/"},
        {[]() -> QWidget* { return AboutFrm->Image1; }, true, "https://formulon.example.org/"},
        {[]() -> QWidget* { return AboutFrm->Label15; }, true, "https://formulon.example.org/"},
        {[]() -> QWidget* { return AboutFrm->Label17; }, true,
         "mailto:support@formulon.example.org"},
        {[]() -> QWidget* { return AboutFrm->Label22; }, true,
         "https://formulon.example.org/Information.cgi?type=support"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        Opened.clear();
        ShowAboutWhile([&] {
            if (c.onFeedbackPage)
                QTest::mouseClick(AboutFrm->Label2, Qt::LeftButton);
            QTest::mouseClick(c.target(), Qt::LeftButton);
            EXPECT_EQ(Opened, QStringList{QString::fromLatin1(c.url)});
            EXPECT_TRUE(AboutFrm->isVisible());
            EXPECT_EQ(AboutFrm->Panel2->isVisible(), c.onFeedbackPage);
            EXPECT_EQ(AboutFrm->Panel1->isVisible(), !c.onFeedbackPage);
            QTest::mouseClick(AboutFrm->Label3, Qt::LeftButton);
        });
    }
}

TEST_F(AboutWindowTest, PressAndReleaseMustBothBeOnALink) {
    AboutFrm->show();
    AboutFrm->Label2Click();
    QTest::mousePress(AboutFrm->Label22, Qt::LeftButton);
    QTest::mouseRelease(AboutFrm->Label22, Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(AboutFrm->Label22, Qt::RightButton);
    EXPECT_TRUE(Opened.isEmpty());
}

// The keyboard starts on "О программе"; Tab then follows the reading order
// (banner, the page's links, page labels, "Закрыть") round the window, and
// Enter presses each: one row per Tab.
TEST_F(AboutWindowTest, TabReachesTheLinksAndEnterFollowsThem) {
    ShowAboutWhile([] {
        const std::pair<TClickLabel*, bool> rows[] = {
            {AboutFrm->Label2, true},  {AboutFrm->Label3, false}, {AboutFrm->Image1, true},
            {AboutFrm->Label15, true}, {AboutFrm->Label17, true}, {AboutFrm->Label22, true},
            {AboutFrm->Label1, false}, {AboutFrm->Label2, false}, {AboutFrm->Label3, true}};
        for (const auto& [next, press] : rows) {
            QTest::keyClick(AboutFrm, Qt::Key_Tab);
            ASSERT_EQ(AboutFrm->focusWidget(), next) << next->accessibleName().toStdString();
            if (press)
                QTest::keyClick(next, Qt::Key_Return);
        }
    });
    EXPECT_EQ(Opened, (QStringList{"https://formulon.example.org/", "https://formulon.example.org/",
                                   "mailto:support@formulon.example.org",
                                   "https://formulon.example.org/Information.cgi?type=support"}));
}

// Where a label's text is drawn (right-aligned values sit at the right).
QRect TextRect(const QLabel* label) {
    const int width = label->fontMetrics().horizontalAdvance(label->text());
    QRect text = label->geometry();
    if (label->alignment() & Qt::AlignRight)
        text.setLeft(text.right() - width + 1);
    else
        text.setWidth(width);
    return text;
}

// The layout's texts as written, spelling included: the window shows what
// the program always showed.
TEST_F(AboutWindowTest, TextsAsTheLayoutWritesThem) {
    const std::pair<QLabel*, QString> rows[] = {
        {AboutFrm->Label11, QStringLiteral("Последние обновление:")},
        {AboutFrm->Label18, QStringLiteral("Вам понравилась программа???")},
        {AboutFrm->Label19, QStringLiteral("Вы поддержать проэкт по адресу")},
        {AboutFrm->Label21, QStringLiteral("Пишите программы мелким почерком")},
    };
    for (const auto& [label, text] : rows)
        EXPECT_EQ(label->text(), text);
}

// Every text of both pages is whole, inside its page and clear of the others.
TEST_F(AboutWindowTest, PageTextsFitTheirPanels) {
    for (QFrame* panel : {AboutFrm->Panel1, AboutFrm->Panel2}) {
        const QList<QLabel*> labels = panel->findChildren<QLabel*>();
        ASSERT_FALSE(labels.isEmpty());
        for (QLabel* label : labels) {
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_TRUE(panel->rect().contains(label->geometry()));
            EXPECT_LE(label->sizeHint().width(), label->width());
            EXPECT_LE(label->sizeHint().height(), label->height());
            for (QLabel* other : labels) {
                if (other != label) {
                    EXPECT_FALSE(TextRect(label).intersects(TextRect(other)))
                        << "overlaps " << other->text().toStdString();
                }
            }
        }
    }
}

} // namespace

TEST_F(AboutWindowTest, EachOpeningStartsWithBlueLabels) {
    // Closed while the pointer was on "Закрыть", or on a page label.
    for (TClickLabel* last : {AboutFrm->Label3, AboutFrm->Label1, AboutFrm->Label2}) {
        SCOPED_TRACE(last->text().toStdString());
        ShowAboutWhile([last] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(AboutFrm));
            QTest::mouseMove(AboutFrm->Image1, QPoint(100, 50));
            QTest::mouseMove(last, last->rect().center());
            ASSERT_NE(Background(last), kBlue);
            AboutFrm->close();
        });
        ShowAboutWhile([] {
            for (QWidget* label : {AboutFrm->Label1, AboutFrm->Label2, AboutFrm->Label3})
                EXPECT_EQ(Background(label), kBlue);
            AboutFrm->close();
        });
    }
}
