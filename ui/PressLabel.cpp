#include "ui/PressLabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

class TPressLabelAccessible : public QAccessibleWidget {
public:
    explicit TPressLabelAccessible(TPressLabel* label)
        : QAccessibleWidget(label, label->AccessibleRole()) {}
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << pressAction();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            static_cast<TPressLabel*>(widget())->Press();
        else
            QAccessibleWidget::doAction(action);
    }
};

// Qt asks the factories for each class of the object, the most derived
// first, so this one serves every label built on TPressLabel.
QAccessibleInterface* PressLabelAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("TPressLabel") && object && object->isWidgetType())
        return new TPressLabelAccessible(static_cast<TPressLabel*>(object));
    return nullptr;
}

void InstallFactoryOnce() {
    static const bool installed = [] {
        QAccessible::installFactory(PressLabelAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace

TPressLabel::TPressLabel(QWidget* parent, int focusInset)
    : QLabel(parent), focusInset_(focusInset) {
    InstallFactoryOnce();
}

TPressLabel::TPressLabel(const QString& text, QWidget* parent, int focusInset)
    : QLabel(text, parent), focusInset_(focusInset) {
    InstallFactoryOnce();
}

void TPressLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit mouseEntered();
}

void TPressLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit mouseLeft();
}

void TPressLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TPressLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        Press();
}

void TPressLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        event->accept();
        Press();
        return;
    }
    QLabel::keyPressEvent(event);
}

void TPressLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    const int inset = focusInset_;
    painter.drawRect(rect().adjusted(inset, inset, -1 - inset, -1 - inset));
}
