// Finds and loads the MathJax module (app/shell/mathjax) on first use, so
// that only a process that typesets a formula pays for Qt Qml.
#pragma once

#include "app/shell/mathjax/MathJax.h"

#include <QString>
#include <QStringList>

#include <memory>

// The module's file name inside a folder.
extern const QString kMathJaxModuleName;

// Where the module is looked for, in order: beside the program's folder, as
// installed (/usr/bin/formulon, /usr/lib/formulon/modules) and in the build
// tree (app/formulon, lib/formulon/modules), then any folder added below.
QStringList MathJaxModuleFolders();

// Adds a folder to look in. For programs that are never installed (tests,
// benchmarks), whose own folder is elsewhere in the build tree.
void AddMathJaxModuleFolder(const QString& folder);

// The first folder's module that holds a MathJax, loaded and never
// unloaded; null with the reason, in words for the user, in error.
std::unique_ptr<TMathJax> LoadMathJaxModule(const QStringList& folders, QString& error);
