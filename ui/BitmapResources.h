// Built-in pictures, looked up by name without regard to letter case, as
// the windows ask for them ("p11" finds P11, "win" finds WIN).
#pragma once

#include <QImage>
#include <QString>

// The bitmap resource of that name; raises Exception
// "Resource <name> not found" when there is none.
QImage LoadBitmapResource(const QString& name);

// Whether a bitmap resource of that name exists.
bool HasBitmapResource(const QString& name);
