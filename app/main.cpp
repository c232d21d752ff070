// NOTE TO THE ENGINEER ON ISSUE 3 (delete this line when read): your brief was cut short; read /work/BRIEF-issue3.md NOW (rules, shared-tree rules, fixed conventions) before going on.
#include <QApplication>

#include "app/FTAbout.h"
#include "champions/Form3.h"
#include "engine/FloatEnv.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"

int main(int argc, char* argv[]) {
    InitFloatingPointEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Formulon");
    Form1 = new TForm1();
    Form2 = new TForm2();
    Form3 = new TForm3();
    AboutFrm = new TAboutFrm();
    Form1->show();
    return app.exec();
}
