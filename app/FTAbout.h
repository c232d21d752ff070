// The about window: the program page and the feedback page.
#pragma once

#include <QDialog>

class TAboutFrm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutFrm(QWidget* parent = nullptr);
};

extern TAboutFrm* AboutFrm;
