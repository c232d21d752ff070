// The standard error box: errors escaping handlers, the full-stop rule.
#include "app/ErrorBox.h"
#include "app/shell/Handler.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/TextCodec.h"
#include "engine/Errors.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include <stdexcept>

using namespace formulon::engine;

struct TFullStopCase {
    const char* message; // UTF-8
    const char* shown;   // UTF-8
};

class FullStopTest : public ::testing::TestWithParam<TFullStopCase> {};

TEST_P(FullStopTest, AddsAFullStopOnlyAfterCharactersSortingAfterIt) {
    const TFullStopCase& c = GetParam();
    const std::string message = ToCp1251(QString::fromUtf8(c.message));
    EXPECT_EQ(ErrorBoxText(message), QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FullStopTest,
    ::testing::Values(TFullStopCase{"Floating point overflow", "Floating point overflow."},
                      TFullStopCase{"abc.", "abc."}, TFullStopCase{"Превосходно!", "Превосходно!"},
                      TFullStopCase{"", ""}, TFullStopCase{"I/O error 28", "I/O error 28."},
                      TFullStopCase{"'' is not a valid integer value",
                                    "'' is not a valid integer value."},
                      TFullStopCase{"Нельзя делить на ноль", "Нельзя делить на ноль."},
                      TFullStopCase{"a,", "a,"}, TFullStopCase{"a/", "a/."}));

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

// How the pupil answers the real question box, and what it means.
struct TQuestionCase {
    const char* name;
    std::function<void(QMessageBox*)> answer;
    bool quit;
    friend void PrintTo(const TQuestionCase& c, std::ostream* os) { *os << c.name; }
};

class QuestionBoxTest : public ::testing::TestWithParam<TQuestionCase> {};

TEST_P(QuestionBoxTest, AsksWithDaAndNetAndNetIsTheDefault) {
    TRealBoxes real;
    TShownBox shown;
    QStringList buttons;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = {box->windowTitle(), box->text(),
                 box->icon(),        static_cast<int>(box->buttons().size()),
                 box->width(),       QString()};
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
        EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("Нет"));
        GetParam().answer(box);
    });
    EXPECT_EQ(AskQuitWithoutSaving(QStringLiteral("/home/u/.local/share/Formulon/.camp.cam")),
              GetParam().quit);
    EXPECT_EQ(shown.caption, "Formulon");
    EXPECT_EQ(shown.text, QStringLiteral("Рекорды не сохранены в файл\n"
                                         "/home/u/.local/share/Formulon/.camp.cam\n"
                                         "Выйти без сохранения?"));
    EXPECT_EQ(shown.icon, QMessageBox::Question);
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
}

QAbstractButton* ButtonNamed(QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == text)
            return button;
    return nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, QuestionBoxTest,
    ::testing::Values(
        TQuestionCase{"Enter", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); },
                      false},
        TQuestionCase{"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); },
                      false},
        TQuestionCase{
            "Da", [](QMessageBox* box) { ButtonNamed(box, QStringLiteral("Да"))->click(); }, true}),
    [](const auto& info) { return std::string(info.param.name); });
