// A label that works as a control: a click (a left press and release both on
// it), Enter or Space press it; with the keyboard's focus a dotted frame
// shows, 'focusInset' pixels inside its edge. A screen reader knows it by
// its role (a link unless set otherwise) and can press it. It reports the
// mouse entering and leaving, for labels whose colours follow the mouse.
#pragma once

#include <QAccessible>
#include <QLabel>

class TPressLabel : public QLabel {
    Q_OBJECT
public:
    explicit TPressLabel(QWidget* parent, int focusInset = 0);
    TPressLabel(const QString& text, QWidget* parent, int focusInset = 0);

    void SetAccessibleRole(QAccessible::Role role) { role_ = role; }
    QAccessible::Role AccessibleRole() const { return role_; }
    // Does what a click does.
    void Press() { emit clicked(); }

signals:
    void clicked();
    void mouseEntered();
    void mouseLeft();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
    int focusInset_ = 0;
    QAccessible::Role role_ = QAccessible::Link;
};
