// What the formula typesetter needs of MathJax, which runs in Qt's
// JavaScript engine. Qt Qml costs memory in every process that links it, so
// this part lives in a module the typesetter loads on its first formula
// (libformulon_mathjax.so); the program itself never links Qt Qml.
#pragma once

#include <QRectF>
#include <QString>

// MathJax's answer for one TeX text; drawing it at any size is cheap.
struct TMathJaxOutput {
    enum class TStatus { Ok, TexError, TimedOut, DrawError };
    QString Tex;
    qreal PixelsPerEm = 0;
    TStatus Status = TStatus::TexError;
    QString Message;
    QString Svg;
    QRectF Box; // thousandths of an em; y is minus the height above the baseline
};

class TMathJax {
public:
    virtual ~TMathJax() = default;

    // Loads the MathJax script; false with the reason in error.
    virtual bool Load(QString& error) = 0;
    // Runs MathJax on one formula, interrupted after timeLimitMs.
    virtual TMathJaxOutput Typeset(const QString& tex, qreal pixelsPerEm, int timeLimitMs) = 0;
    // From any thread: interrupts the script's loading or the formula being
    // typeset, and refuses every later one. For an orderly end while
    // MathJax runs on a thread of its own.
    virtual void Abandon() = 0;
};

// The module's one exported function, resolved by this name. The number
// changes whenever TMathJax or TMathJaxOutput does, so that a module left
// from another build is refused rather than called wrongly.
#define FORMULON_MATHJAX_FACTORY formulonCreateMathJax2
using TCreateMathJax = TMathJax* (*)();
