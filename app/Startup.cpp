// Start-up's window set and the layouts' picture look-up.
#include "app/Application.h"

#include "app/FTAbout.h"
#include "champions/Form3.h"
#include "engine/Errors.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"

#include <QFile>
#include <QIcon>
#include <QImage>

#include "app/JpegLoader.h"

namespace {

void RequireResource(const QString& path) {
    if (!QFile::exists(path))
        throw Exception("Resource " + path.toStdString() + " not found");
}

} // namespace

QIcon IconResource(const QString& path) {
    RequireResource(path);
    return QIcon(path);
}

QIcon IconResource(const QString& path, const QString& disabledPath) {
    RequireResource(path);
    RequireResource(disabledPath);
    QIcon icon;
    icon.addFile(path, QSize(), QIcon::Normal);
    icon.addFile(disabledPath, QSize(), QIcon::Disabled);
    return icon;
}

QImage JpegResource(const QString& path) {
    RequireResource(path);
    return LoadJpegResource(path);
}

void CreateWindows() {
    // The first window created is the main window. Each creation step runs
    // the way the framework runs a handler: an error goes to the error box
    // and start-up carries on with the next step.
    Form1 = new TForm1();
    RunProtected([] { Form1->LoadLayoutPictures(); });
    RunProtected([] { Form1->FormCreate(); });
    Form2 = new TForm2();
    RunProtected([] { Form2->LoadLayoutPictures(); });
    RunProtected([] { Form2->FormCreate(); });
    Form3 = new TForm3();
    RunProtected([] { Form3->LoadLayoutPictures(); });
    RunProtected([] { Form3->FormCreate(); });
    AboutFrm = new TAboutFrm();
    RunProtected([] { AboutFrm->LoadLayoutPictures(); });
}
