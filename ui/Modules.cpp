#include "ui/Modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

QStringList& AddedFolders() {
    static QStringList folders;
    return folders;
}

} // namespace

QStringList ModuleFolders() {
    QStringList folders;
    if (QCoreApplication::instance() != nullptr)
        folders << QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/" FORMULON_MODULES_FROM_PROGRAM));
    return folders + AddedFolders();
}

void AddModuleFolder(const QString& folder) {
    if (!AddedFolders().contains(folder))
        AddedFolders() << folder;
}

QFunctionPointer LoadModuleFactory(const QString& fileName, const char* factory,
                                   const QStringList& folders, QStringList& failures) {
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (!QFileInfo(path).isFile())
            continue;
        // What the factory makes may outlive this loader: the library is
        // never unloaded once it served.
        QLibrary library(path);
        if (const QFunctionPointer create = library.resolve(factory))
            return create;
        failures << library.errorString();
        library.unload();
    }
    return nullptr;
}
