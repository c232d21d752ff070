#include "ui/BitmapResources.h"

#include "engine/Errors.h"

#include <QDir>
#include <QFileInfo>

using namespace formulon::engine;

namespace {

const QString kBitmapDir = QStringLiteral(":/bitmaps");

// Path of the PNG in the bitmap directory whose base name equals name in any
// letter case, or an empty string.
QString FindBitmap(const QString& name) {
    if (name.isEmpty())
        return {};
    const QDir dir(kBitmapDir);
    for (const QFileInfo& file : dir.entryInfoList({QStringLiteral("*.png")}, QDir::Files)) {
        if (file.completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
            return file.filePath();
    }
    return {};
}

} // namespace

QImage LoadBitmapResource(const QString& name) {
    const QString path = FindBitmap(name);
    if (path.isEmpty())
        throw Exception("Resource " + name.toLatin1().toStdString() + " not found");
    QImage image(path);
    if (image.isNull())
        throw Exception("Resource " + name.toLatin1().toStdString() + " cannot be read");
    return image;
}

bool HasBitmapResource(const QString& name) {
    return !FindBitmap(name).isEmpty();
}
