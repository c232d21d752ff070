// The boxes' texts: the full-stop rule of the error box's text, and the
// question on closing.
#include "ui/MessageBoxes.h"
#include "tests/support/TestSupport.h"
#include "ui/TextCodec.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

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

// What a real, modal box showed.
struct TShownBox {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    int width = 0;
    QString ok; // the OK button's text
};

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
