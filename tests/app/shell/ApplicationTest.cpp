// What start-up gives every window: the desktop's name for the program, its
// window icon and Qt's own texts in Russian.
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The menu entry's value of 'key', or an empty text.
QString DesktopEntryValue(const QString& key) {
    QFile file(QStringLiteral(FORMULON_DESKTOP_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith((key + '=').toUtf8()))
            return QString::fromUtf8(line.mid(key.size() + 1));
    return {};
}

} // namespace

TEST(Application, TaskBarsFindTheMenuEntry) {
    EXPECT_EQ(QGuiApplication::desktopFileName() + ".desktop",
              QString(FORMULON_DESKTOP_FILE).section('/', -1));
    // X11 windows get the application's name as their class.
    EXPECT_EQ(DesktopEntryValue(QStringLiteral("StartupWMClass")),
              QCoreApplication::applicationName());
}

TEST(Application, WindowIconIsTheProgramsBitmaps) {
    const QIcon icon = QGuiApplication::windowIcon();
    const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}};
    ASSERT_TRUE(icon.availableSizes() == sizes);
    // Compared premultiplied, as a pixmap holds it.
    constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;
    for (const QSize& size : sizes) {
        const QImage bitmap(QStringLiteral(":/icons/formulon-%1.png").arg(size.width()));
        EXPECT_TRUE(icon.pixmap(size).toImage().convertToFormat(kFormat) ==
                    bitmap.convertToFormat(kFormat))
            << size.width();
    }
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
