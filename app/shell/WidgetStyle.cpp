#include "app/shell/WidgetStyle.h"

#include <QPalette>
#include <QPushButton>
#include <QRegion>

QFont PixelFont(const QString& family, int pixels, unsigned styles) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(styles & kBold);
    font.setItalic(styles & kItalic);
    font.setUnderline(styles & kUnderline);
    return font;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void MakeOvalButton(QPushButton* button) {
    button->setMask(QRegion(10, 10, 180, 50, QRegion::Ellipse));
}
