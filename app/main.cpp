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
