// Where windows and message boxes appear: centred boxes, nothing off the
// screen. The whole suite also runs at a scale factor of 2 (see CMake).
#include "app/ErrorBox.h"
#include "app/FTAbout/FTAbout.h"
#include "champions/Form3.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "tests/support/TestSupport.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Shows a real message box through 'show' and returns its frame.
QRect BoxGeometry(const std::function<void()>& show) {
    TRealBoxes real;
    QRect geometry;
    QTimer::singleShot(0, [&] {
        WaitFor([] { return QApplication::activeModalWidget() != nullptr; });
        QWidget* box = QApplication::activeModalWidget();
        QTest::qWait(50); // any late resize would land here
        geometry = box->frameGeometry();
        static_cast<QMessageBox*>(box)->accept();
    });
    show();
    return geometry;
}

} // namespace

TEST(MessageBoxPlacement, EveryBoxIsCentredAtItsFinalSize) {
    const std::function<void()> boxes[] = {
        [] { ShowWarningBox(QStringLiteral("Введите имя")); },
        [] { ShowErrorBox("'abc' is not a valid integer value"); },
        [] { ShowInformationBox(QStringLiteral("Файл рекордов повреждён, таблица очищена")); },
    };
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
    for (const auto& show : boxes) {
        const QRect box = BoxGeometry(show);
        ASSERT_TRUE(box.isValid());
        EXPECT_LE((box.center() - centre).manhattanLength(), 2) << box.x() << "," << box.y();
    }
}

TEST(WindowPlacement, EveryWindowOpensWhollyOnItsScreen) {
    CreateWindowsOnce();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget* const windows[] = {Form1, Form2, Form3, AboutFrm};
    for (QWidget* window : windows) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        // A window too large for the screen keeps its title bar's corner in
        // view, give or take the room kept for a frame.
        const QRect frame = window->frameGeometry();
        EXPECT_GE(frame.left(), available.left());
        EXPECT_GE(frame.top(), available.top());
        if (frame.width() <= available.width())
            EXPECT_LE(frame.right(), available.right());
        else
            EXPECT_LE(frame.left(), available.left() + 16);
        if (frame.height() <= available.height())
            EXPECT_LE(frame.bottom(), available.bottom());
        else
            EXPECT_LE(frame.top(), available.top() + 32);
        window->hide();
    }
}
