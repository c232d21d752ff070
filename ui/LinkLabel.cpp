#include "ui/LinkLabel.h"

#include "ui/WidgetStyle.h"

TLinkLabel::TLinkLabel(const QString& text, int pixels, QWidget* parent)
    : TPressLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setFont(PixelFont(parent ? parent->font().family() : font().family(), pixels, kUnderline));
    SetTextColour(this, clBlue);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(text);
}
