// Qt SVG behind the pictures and the typesetter: the module loaded on the
// first picture drawn from SVG.
#include "ui/svg/SvgDrawing.h"

#include "ui/svg/MathSvg.h"

#include <QSvgRenderer>

namespace {

class TQtSvgDrawing : public TSvgDrawing {
public:
    bool IsValid(const QByteArray& svg) const override { return QSvgRenderer(svg).isValid(); }
    void Render(QPainter& painter, const QByteArray& svg, const QRectF& target) const override {
        QSvgRenderer(svg).render(&painter, target);
    }
    bool DrawMath(QPainter& painter, const QByteArray& svg, const QSizeF& size) const override {
        return DrawMathSvg(painter, svg, size);
    }
};

} // namespace

extern "C" Q_DECL_EXPORT const TSvgDrawing* FORMULON_SVG_FACTORY() {
    static const TQtSvgDrawing drawing;
    return &drawing;
}
