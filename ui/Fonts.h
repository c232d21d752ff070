// The Windows font names of the layouts resolve to installed fonts that
// hold Cyrillic. Set once at start-up, after the application object.
#pragma once

#include <QString>
#include <QStringList>

void InstallFontSubstitutions();

// The Windows families the windows use.
QStringList LayoutFontFamilies();
