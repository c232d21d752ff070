// What the pictures and the formula typesetter need of Qt SVG. Every process
// that links Qt SVG pays for it at start, and only pictures on dense screens,
// the menu icons' larger sizes and typeset formulas draw from SVG, so this
// part lives in a module loaded when the first of them is drawn
// (libformulon_svg.so); the program itself never links Qt SVG.
#pragma once

#include <QByteArray>
#include <QRectF>
#include <QSizeF>

class QPainter;

class TSvgDrawing {
public:
    virtual ~TSvgDrawing() = default;

    // Whether Qt SVG reads the picture.
    virtual bool IsValid(const QByteArray& svg) const = 0;
    // Draws the picture scaled to fill target, in the painter's coordinates.
    virtual void Render(QPainter& painter, const QByteArray& svg, const QRectF& target) const = 0;
    // Draws MathJax's picture scaled to fill (0, 0, size) in the painter's
    // coordinates. False when Qt SVG cannot read it; nothing is drawn then.
    virtual bool DrawMath(QPainter& painter, const QByteArray& svg, const QSizeF& size) const = 0;
};

// The module's one exported function, resolved by this name; the drawing it
// returns lives as long as the module, which is never unloaded. The number
// changes whenever TSvgDrawing does, so that a module left from another
// build is refused rather than called wrongly.
#define FORMULON_SVG_FACTORY formulonSvgDrawing1
using TSvgDrawingFactory = const TSvgDrawing* (*)();
