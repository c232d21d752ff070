// Typesets a TeX formula in the task pictures' style: MathJax, run in a
// JavaScript engine, writes SVG, which Qt SVG draws into an image. The
// MathJax script is large (0.2 to 0.5 s to load) and the JavaScript engine
// costs memory even unused, so both are in a module loaded on the first
// formula, never at start-up; so is Qt SVG, in a module of its own.
#pragma once

#include "typeset/mathjax/MathJax.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>

#include <list>
#include <memory>
#include <mutex>

// MathJax's engine without Qt's JavaScript compiler; called before any
// thread starts (the application object does).
void RunJavaScriptInterpreted();

struct TTypesetFormula {
    enum class TStatus {
        Ok,
        TexError,    // MathJax refused the TeX; Message holds its words
        TooLarge,    // the TeX or the picture exceeds the limits below
        TimedOut,    // MathJax ran past the time limit
        DrawError,   // Qt SVG could not read MathJax's picture, or was not loaded
        Unavailable, // the MathJax module or script could not be loaded
    };
    TStatus Status = TStatus::Unavailable;
    QString Message;
    // Black (or the given ink) on transparent, with the device pixel ratio
    // it was drawn for; its size in logical pixels is Size.
    QImage Image;
    QSizeF Size;
    // Logical pixels from the top of Image to the formula's baseline.
    qreal Baseline = 0;
    // The size drawn to the formula's own, below 1 when drawn smaller to
    // fit a box.
    qreal Scale = 1;

    bool Ok() const { return Status == TStatus::Ok; }
};

class TMathTypesetter : public QObject {
public:
    // Longest TeX accepted, and largest picture side and area in device
    // pixels: beyond these a formula is no longer readable on screen and
    // would only cost time and memory.
    static constexpr int MaxTexLength = 8000;
    static constexpr int MaxImageSide = 16384;
    static constexpr qint64 MaxImageArea = 16 * 1024 * 1024;
    static constexpr int DefaultTimeLimitMs = 3000;

    explicit TMathTypesetter(QObject* parent = nullptr);
    ~TMathTypesetter() override;

    // fontPixelSize is the size of one em in logical pixels; the smallest
    // script size depends on it, as in the task pictures (18 px per em), but
    // not on the ratio, so a formula's layout is the same at every scale.
    // 'scale' draws that layout smaller (or larger) to fit a box: drawing
    // again at another scale or ratio costs no MathJax run.
    TTypesetFormula Typeset(const QString& tex, qreal fontPixelSize, qreal devicePixelRatio = 1.0,
                            const QColor& ink = Qt::black, qreal scale = 1);

    // How long one formula may take before MathJax is interrupted.
    void SetTimeLimit(int milliseconds) { timeLimitMs_ = milliseconds; }

    // True once loading MathJax has been tried (successfully or not).
    bool IsLoaded() const { return loaded_; }

    // From any thread: interrupts the formula being typeset (or MathJax's
    // loading) and refuses every later one, for an orderly end.
    void Abandon();

private:
    // The window shows one answer at several ratios and may be opened again
    // for the same answer, so the last few are kept.
    static constexpr size_t kRecentFormulas = 8;

    bool EnsureLoaded();
    bool Abandoned();
    TMathJaxOutput RunMathJax(const QString& tex, qreal pixelsPerEm);

    // Set on the typesetting thread under the lock, which Abandon takes.
    std::mutex abandonLock_;
    bool abandoned_ = false;
    std::unique_ptr<TMathJax> mathJax_;
    bool loaded_ = false;
    int timeLimitMs_ = DefaultTimeLimitMs;
    QString loadError_;
    std::list<TMathJaxOutput> recent_; // most recent first
};
