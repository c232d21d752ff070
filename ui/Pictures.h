// Pictures drawn for the screen that shows them. At a device pixel ratio of 1
// they are the built-in bitmaps and JPEGs pixel for pixel; above 1 they are
// the vector versions rendered at that ratio, so they stay crisp, at the same
// size in device-independent pixels and with the ink in the same place.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <functional>

class QLabel;

// A task picture by bitmap resource name in any letter case ("p11"). Raises
// the bitmap loader's Exception when there is no such picture.
QPixmap TaskPicture(const QString& name, qreal ratio);

// The same picture drawn 'scale' times its size (device-independent
// pixels) on white, from the vector version at any ratio; without Qt SVG's
// module, the bitmap made smaller by averaging, so thin strokes turn grey
// rather than vanish.
QImage SmallTaskPicture(const QString& name, qreal scale, qreal ratio);

// A verdict picture ("dum", "inf", "win") with its white ground see-through,
// so the window's own colour shows there.
QPixmap VerdictPicture(const QString& name, qreal ratio);

// The main window's title picture: the top 273 rows of the title JPEG.
QPixmap TitlePicture(qreal ratio);

// The about window's banner.
QPixmap BannerPicture(qreal ratio);

// A 16 x 16 menu icon or button glyph (":/icons/<name>.png") with larger
// sizes drawn from its vector version for denser screens. Raises the
// missing picture's Exception at once; the pictures themselves are read and
// drawn when the icon is first used (DeferredIcon).
QIcon ScalableIcon(const QString& name);
// The same with the greyed "<name>-disabled" twin for the disabled look.
QIcon ScalableGlyph(const QString& name);

// An icon that answers every question exactly as make()'s icon would, and
// calls make only when the first question comes: a window's icons cost
// nothing until a menu opens or a button paints. make must not raise.
QIcon DeferredIcon(std::function<QIcon()> make);

// Shows draw's picture in the label now (errors reach the caller) and draws
// it again whenever the label comes to a screen of another ratio.
void ShowPicture(QLabel* label, std::function<QPixmap(qreal ratio)> draw);
