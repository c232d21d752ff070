// What start-up gives every window: the desktop's name for the program, its
// window icon and Qt's own texts in Russian. The smoke test reads the real
// window's class and icon under X.
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

TEST(Application, DesktopFileNameAndWindowIcon) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.example.formulon");
    const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}};
    EXPECT_TRUE(QGuiApplication::windowIcon().availableSizes() == sizes);
}

TEST(Application, QtsOwnTextsAreRussian) {
    QLineEdit answerBox;
    const std::unique_ptr<QMenu> menu(answerBox.createStandardContextMenu());
    ASSERT_FALSE(menu->actions().isEmpty());
    // The text, then a tab and the shortcut.
    EXPECT_EQ(menu->actions().first()->text().section('\t', 0, 0),
              QStringLiteral("&Отменить действие"));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Close);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Close)->text(), QStringLiteral("Закрыть"));
}
