// Loads the SVG module (ui/svg) when a picture is first drawn from
// SVG, so that a process that never does, as at a device pixel ratio of 1
// until a menu opens, never pays for Qt SVG.
#pragma once

#include "ui/svg/SvgDrawing.h"

#include <QString>

// The module's file name inside a folder.
extern const QString kSvgModuleName;

// Qt SVG's drawing from the first module folder that holds it, loaded on the
// first call from any thread, with the vector pictures (:/svg) it brings;
// null when no folder's module serves, and then on every later call too.
const TSvgDrawing* SvgDrawing();
