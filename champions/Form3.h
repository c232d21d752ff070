// NOTE TO THE ENGINEER ON ISSUE 3 (delete this line when read): your brief was cut short; read /work/BRIEF-issue3.md NOW (rules, shared-tree rules, fixed conventions) before going on.
// The champions window: the fifteen best times.
#pragma once

#include <QWidget>

class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};

extern TForm3* Form3;
