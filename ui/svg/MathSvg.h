// Draws MathJax's SVG output with Qt SVG.
#pragma once

#include <QByteArray>
#include <QSizeF>

class QPainter;

// Draws the picture scaled to fill (0, 0, size) in the painter's
// coordinates. False when Qt SVG cannot read it; nothing is drawn then.
bool DrawMathSvg(QPainter& painter, const QByteArray& svg, const QSizeF& size);
