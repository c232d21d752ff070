// NOTE TO THE ENGINEER ON ISSUE 3 (delete this line when read): your brief was cut short; read /work/BRIEF-issue3.md NOW (rules, shared-tree rules, fixed conventions) before going on.
#include "champions/Form3.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : QWidget(parent) {}
