#include "ui/LinkLabel.h"

#include "ui/WidgetStyle.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

class TLinkLabelAccessible : public QAccessibleWidget {
public:
    explicit TLinkLabelAccessible(TLinkLabel* label)
        : QAccessibleWidget(label, QAccessible::Link) {}
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            static_cast<TLinkLabel*>(widget())->Press();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* LinkLabelAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("TLinkLabel") && object && object->isWidgetType())
        return new TLinkLabelAccessible(static_cast<TLinkLabel*>(object));
    return nullptr;
}

} // namespace

TLinkLabel::TLinkLabel(const QString& text, int pixels, QWidget* parent) : QLabel(text, parent) {
    static const bool announcedAsLinks = [] {
        QAccessible::installFactory(LinkLabelAccessible);
        return true;
    }();
    (void)announcedAsLinks;
    setTextFormat(Qt::PlainText);
    setFont(PixelFont(parent ? parent->font().family() : font().family(), pixels, kUnderline));
    SetTextColour(this, clBlue);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(text);
}

void TLinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a left press and release both on the link.
void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        Press();
}

void TLinkLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        event->accept();
        Press();
        return;
    }
    QLabel::keyPressEvent(event);
}

// The focus frame runs along the label's edges: the link's line of text
// may fill the rest.
void TLinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
