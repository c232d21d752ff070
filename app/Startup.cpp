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

#if __has_include("app/JpegLoader.h")
#include "app/JpegLoader.h"
#define FORMULON_HAS_JPEG_LOADER 1
#endif

namespace {

void RequireResource(const QString& path) {
    if (!QFile::exists(path))
        throw Exception("Resource " + path.toStdString() + " not found");
}

// Runs a window's creation handler when the class has one.
template <class TWindow>
void RunFormCreate(TWindow* window) {
    if constexpr (requires { window->FormCreate(); })
        RunProtected([window] { window->FormCreate(); });
}

template <class TWindow>
void RunLoadLayoutPictures(TWindow* window) {
    if constexpr (requires { window->LoadLayoutPictures(); })
        RunProtected([window] { window->LoadLayoutPictures(); });
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
#ifdef FORMULON_HAS_JPEG_LOADER
    return LoadJpegResource(path);
#else
    throw Exception("Resource " + path.toStdString() + " not found");
#endif
}

void CreateWindows() {
    // The first window created is the main window.
    Form1 = new TForm1();
    RunLoadLayoutPictures(Form1);
    RunFormCreate(Form1);
    Form2 = new TForm2();
    RunLoadLayoutPictures(Form2);
    RunFormCreate(Form2);
    Form3 = new TForm3();
    RunLoadLayoutPictures(Form3);
    RunFormCreate(Form3);
    AboutFrm = new TAboutFrm();
    RunLoadLayoutPictures(AboutFrm);
    RunFormCreate(AboutFrm);
}
