#include "ui/Modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <memory>
#include <vector>

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
        // never unloaded once it served, and its loader is kept, never
        // destroyed, so the leak checker sees it held, not lost.
        auto library = std::make_unique<QLibrary>(path);
        if (const QFunctionPointer create = library->resolve(factory)) {
            static auto* const served = new std::vector<std::unique_ptr<QLibrary>>;
            served->push_back(std::move(library));
            return create;
        }
        failures << library->errorString();
        library->unload();
    }
    return nullptr;
}
