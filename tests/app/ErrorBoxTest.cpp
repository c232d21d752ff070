// The standard error box: errors escaping handlers; the real boxes as they
// show.
#include "app/ErrorBox.h"
#include "engine/Errors.h"
#include "tests/support/TestSupport.h"
#include "ui/Handler.h"
#include "ui/MessageBoxes.h"
#include "ui/TextCodec.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include <stdexcept>

using namespace formulon::engine;

TEST(ErrorBox, ErrorEscapingAHandlerIsShownAndTheLoopGoesOn) {
    TBoxRecorder boxes;
    bool after = false;
    QTimer::singleShot(0, [] { throw EOverflow(); });
    QTimer::singleShot(20, [&after] { after = true; });
    EXPECT_TRUE(WaitFor([&] { return after; }));
    ASSERT_EQ(boxes.Errors.size(), 1);
    EXPECT_EQ(boxes.Errors[0], "Floating point overflow.");
    EXPECT_EQ(boxes.ErrorCaptions[0], "Formulon");
}

TEST(ErrorBox, ButtonHandlerSkipsItsRemainingSteps) {
    TBoxRecorder boxes;
    QPushButton button("x");
    int steps = 0;
    QObject::connect(&button, &QPushButton::clicked, Handler([&steps] {
        ++steps;
        throw EConvertError(ToCp1251(QStringLiteral("'абв' is not a valid integer value")));
        ++steps;
    }));
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(boxes.Errors.size(), 1);
    EXPECT_EQ(boxes.Errors[0], QStringLiteral("'абв' is not a valid integer value."));
    // Still working afterwards.
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(boxes.Errors.size(), 2);
}

TEST(ErrorBox, ForeignStdExceptionShowsItsWhat) {
    TBoxRecorder boxes;
    QTimer::singleShot(0, [] { throw std::runtime_error("bad thing"); });
    EXPECT_TRUE(WaitFor([&] { return !boxes.Errors.isEmpty(); }));
    EXPECT_EQ(boxes.Errors.value(0), "bad thing.");
}

TEST(ErrorBox, RunProtectedReportsAndReturnsFalse) {
    TBoxRecorder boxes;
    EXPECT_TRUE(RunProtected([] {}));
    EXPECT_FALSE(RunProtected([] { throw EInOutError("Disk full", 101); }));
    EXPECT_EQ(boxes.Errors, QStringList{"Disk full."});
}

// The shared layer knows no error box: without the reporter start-up sets,
// an error goes to standard error.
TEST(ErrorBox, WithoutStartUpsReporterAnErrorGoesToStandardError) {
    TBoxRecorder boxes;
    SetErrorReporter({});
    ::testing::internal::CaptureStderr();
    const bool ran = RunProtected([] { throw EInOutError("Disk full", 101); });
    const std::string said = ::testing::internal::GetCapturedStderr();
    SetErrorReporter(ShowErrorBox);
    EXPECT_FALSE(ran);
    EXPECT_EQ(said, "Formulon: Disk full.\n");
    EXPECT_TRUE(boxes.Errors.isEmpty());
}

// What a real, modal box showed; it is closed from a timer once it is up.
struct TShownBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    int width = 0;
    QString ok; // the OK button's text
};

TShownBox CaptureRealBox(const std::function<void()>& show) {
    TRealBoxes real;
    TShownBox shown;
    QTimer::singleShot(50, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = {box->windowTitle(), box->text(),
                 box->icon(),        static_cast<int>(box->buttons().size()),
                 box->width(),       box->button(QMessageBox::Ok)->text()};
        box->button(QMessageBox::Ok)->click();
    });
    show();
    return shown;
}

TEST(ErrorBox, RealBoxIsACriticalBoxWithOneOkButton) {
    const TShownBox box = CaptureRealBox([] { ShowErrorBox(std::string("Disk full")); });
    EXPECT_EQ(box.caption, "Formulon");
    EXPECT_EQ(box.text, "Disk full.");
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, 1);
    // Qt's texts are Russian, but the box's button stays "OK".
    EXPECT_EQ(box.ok, "OK");
}

// A carriage return alone breaks the line, as the changed-file message
// expects.
TEST(InformationBox, RealBoxHasCaptionInformationAndTheInformationIcon) {
    for (const char* text : {"a\rb", "a\r\nb", "a\nb"}) {
        const TShownBox box = CaptureRealBox([text] { ShowInformationBox(text); });
        EXPECT_EQ(box.caption, "Information");
        EXPECT_EQ(box.text, "a\nb");
        EXPECT_EQ(box.icon, QMessageBox::Information);
    }
}

// Beside its caption a title bar keeps room for the window's icon and three
// buttons: about 160 pixels in openbox's, which otherwise shows "W… ng".
TEST(MessageBoxes, ShortBoxesAreWideEnoughForTheirCaptions) {
    const std::function<void()> boxes[] = {
        [] { ShowWarningBox(QStringLiteral("Введите имя")); },
        [] { ShowErrorBox("Disk full"); },
        [] { ShowInformationBox(QStringLiteral("Да")); },
    };
    for (const auto& show : boxes) {
        const TShownBox box = CaptureRealBox(show);
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GE(box.width, QFontMetrics(bold).horizontalAdvance(box.caption) + 160)
            << box.caption.toStdString();
    }
}
