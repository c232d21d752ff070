// A line of text that works as a link: it is reached with Tab, pressed with
// a click, Enter or Space, and a screen reader announces it as a link by
// its accessible name, with a "press" action.
#pragma once

#include <QLabel>

class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    // Blue and underlined in the parent's font family at 'pixels'; its
    // accessible name is the text.
    TLinkLabel(const QString& text, int pixels, QWidget* parent);

    // Does what a click does.
    void Press() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};
