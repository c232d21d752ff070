#include "quiz/TutorWindow.h"

#include "ui/WidgetStyle.h"
#include "ui/Windowing.h"

#include <QDialog>

void DressTutorWindow(QDialog* window, const QString& title) {
    window->setWindowTitle(title);
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    SetTitleButtons(window, TTitleButtons::Close);
    window->setFont(PixelFont(QStringLiteral("Lucida Console"), 13));
    SetBackground(window, clSilver);
    SetTextColour(window, clNavy);
}
