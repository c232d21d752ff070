#include "typeset/MathJaxModule.h"

#include "ui/Modules.h"

const QString kMathJaxModuleName = QStringLiteral("libformulon_mathjax.so");

std::unique_ptr<TMathJax> LoadMathJaxModule(const QStringList& folders, QString& error) {
    QStringList failures;
    const auto create = reinterpret_cast<TCreateMathJax>(LoadModuleFactory(
        kMathJaxModuleName, QT_STRINGIFY(FORMULON_MATHJAX_FACTORY), folders, failures));
    if (create != nullptr)
        return std::unique_ptr<TMathJax>(create());
    if (failures.isEmpty())
        error = QStringLiteral("Не найден модуль набора формул %1 (искали в: %2)")
                    .arg(kMathJaxModuleName, folders.join(QStringLiteral(", ")));
    else
        error = QStringLiteral("Модуль набора формул не загрузился: %1")
                    .arg(failures.join(QStringLiteral("; ")));
    return nullptr;
}
