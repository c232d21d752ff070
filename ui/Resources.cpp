#include "ui/Resources.h"

#include "engine/Errors.h"
#include "ui/JpegLoader.h"

#include <QFile>

using namespace formulon::engine;

void RequireResource(const QString& path) {
    if (!QFile::exists(path))
        throw Exception("Resource " + path.toStdString() + " not found");
}

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

QImage JpegResource(const QString& path, int rows) {
    RequireResource(path);
    return LoadJpegResource(path, rows);
}
