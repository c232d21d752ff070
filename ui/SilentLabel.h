// A label that holds a text for the program and for no one else: it is
// never shown, and assistive technology learns nothing of it. A plain
// label's text is its accessible name, announced on every change and
// answered to anyone who asks, hidden or not; the main window's value labels
// hold the task's value text.
#pragma once

#include <QLabel>

class TSilentLabel : public QLabel {
    Q_OBJECT
public:
    explicit TSilentLabel(QWidget* parent = nullptr);
};
