// Finds and loads the MathJax module (typeset/mathjax) on first use, so
// that only a process that typesets a formula pays for Qt Qml.
#pragma once

#include "typeset/mathjax/MathJax.h"

#include <QString>
#include <QStringList>

#include <memory>

// The module's file name inside a folder.
extern const QString kMathJaxModuleName;

// The first folder's module that holds a MathJax, loaded and never
// unloaded; null with the reason, in words for the user, in error.
std::unique_ptr<TMathJax> LoadMathJaxModule(const QStringList& folders, QString& error);
