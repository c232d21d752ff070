// The program's modules: libraries it loads on first use, so that only a
// process that needs them pays for what they link (the MathJax module for
// Qt Qml, the SVG module for Qt SVG). They live in one folder beside the
// program's own.
#pragma once

#include <QFunctionPointer>
#include <QString>
#include <QStringList>

// Where the modules are looked for, in order: beside the program's folder,
// as installed (/usr/bin/formulon, /usr/lib/formulon/modules) and in the
// build tree (app/formulon, lib/formulon/modules), then any folder added
// below.
QStringList ModuleFolders();

// Adds a folder to look in. For programs that are never installed (tests,
// benchmarks), whose own folder is elsewhere in the build tree.
void AddModuleFolder(const QString& folder);

// The function named factory of the first folder's module fileName that
// exports it; the module stays loaded to the end of the process. Null when
// none does, with what each module found failed of in failures (none when
// no folder holds the file).
QFunctionPointer LoadModuleFactory(const QString& fileName, const char* factory,
                                   const QStringList& folders, QStringList& failures);
