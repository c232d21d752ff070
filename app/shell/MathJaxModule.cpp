#include "app/shell/MathJaxModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

const QString kMathJaxModuleName = QStringLiteral("libformulon_mathjax.so");

namespace {

QStringList& AddedFolders() {
    static QStringList folders;
    return folders;
}

} // namespace

QStringList MathJaxModuleFolders() {
    QStringList folders;
    if (QCoreApplication::instance() != nullptr)
        folders << QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/" FORMULON_MATHJAX_MODULE_FROM_PROGRAM));
    return folders + AddedFolders();
}

void AddMathJaxModuleFolder(const QString& folder) {
    if (!AddedFolders().contains(folder))
        AddedFolders() << folder;
}

std::unique_ptr<TMathJax> LoadMathJaxModule(const QStringList& folders, QString& error) {
    QStringList failures;
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(kMathJaxModuleName);
        if (!QFileInfo(path).isFile())
            continue;
        // The module stays loaded to the end of the process: the engine it
        // made may outlive this loader.
        QLibrary library(path);
        const auto create = reinterpret_cast<TCreateMathJax>(
            library.resolve(QT_STRINGIFY(FORMULON_MATHJAX_FACTORY)));
        if (create != nullptr)
            return std::unique_ptr<TMathJax>(create());
        failures << library.errorString();
        library.unload();
    }
    if (failures.isEmpty())
        error = QStringLiteral("Не найден модуль набора формул %1 (искали в: %2)")
                    .arg(kMathJaxModuleName, folders.join(QStringLiteral(", ")));
    else
        error = QStringLiteral("Модуль набора формул не загрузился: %1")
                    .arg(failures.join(QStringLiteral("; ")));
    return nullptr;
}
