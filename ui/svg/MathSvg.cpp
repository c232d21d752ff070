#include "ui/svg/MathSvg.h"

#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <QSvgRenderer>
#include <QTransform>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <vector>

// Qt SVG reads SVG Tiny, which has no <svg> inside <svg>, and drops the rest
// of the picture after one. MathJax draws each stretched delimiter and tall
// root sign as such an inner <svg>: a glyph stretched, then clipped to the
// inner box. So the inner pictures are cut out into documents of their own
// and drawn into their boxes under a clip, the rest as one document.

namespace {

const QString kSvgNamespace = QStringLiteral("http://www.w3.org/2000/svg");

struct TInnerPicture {
    QByteArray Svg;
    QRectF Box;           // in the coordinates of its parent element
    QTransform ToPicture; // parent element's coordinates to the outer viewBox
};

struct TSplitPicture {
    QByteArray Outer;
    QRectF ViewBox;
    std::vector<TInnerPicture> Inner;
};

double Number(const QXmlStreamAttributes& attributes, const QString& name) {
    return attributes.value(name).toDouble();
}

QRectF ViewBox(const QXmlStreamAttributes& attributes) {
    const QStringList parts =
        attributes.value(QStringLiteral("viewBox"))
            .toString()
            .split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (parts.size() != 4)
        return {};
    return QRectF(parts[0].toDouble(), parts[1].toDouble(), parts[2].toDouble(),
                  parts[3].toDouble());
}

// An SVG transform list ("translate(220,394) scale(0.71)") as a QTransform
// that maps the element's coordinates to its parent's.
QTransform ParseTransform(const QString& text) {
    static const QRegularExpression kStep(QStringLiteral(R"((\w+)\s*\(([^)]*)\))"));
    static const QRegularExpression kSeparator(QStringLiteral("[\\s,]+"));
    QTransform result;
    for (auto it = kStep.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        std::vector<double> v;
        for (const QString& part : match.captured(2).split(kSeparator, Qt::SkipEmptyParts))
            v.push_back(part.toDouble());
        const QString name = match.captured(1);
        QTransform step;
        if (name == QLatin1String("translate") && !v.empty())
            step.translate(v[0], v.size() > 1 ? v[1] : 0);
        else if (name == QLatin1String("scale") && !v.empty())
            step.scale(v[0], v.size() > 1 ? v[1] : v[0]);
        else if (name == QLatin1String("rotate") && !v.empty())
            step.rotate(v[0]);
        else if (name == QLatin1String("matrix") && v.size() == 6)
            step = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
        // The rightmost step applies first.
        result = step * result;
    }
    return result;
}

// Copies the inner <svg> the reader stands on, and all it holds, into a
// document of its own that paints in the inherited colour.
TInnerPicture CutInner(QXmlStreamReader& reader, const QTransform& toPicture, const QString& fill) {
    const QXmlStreamAttributes attributes = reader.attributes();
    TInnerPicture inner;
    inner.Box = QRectF(
        Number(attributes, QStringLiteral("x")), Number(attributes, QStringLiteral("y")),
        Number(attributes, QStringLiteral("width")), Number(attributes, QStringLiteral("height")));
    inner.ToPicture = toPicture;
    QXmlStreamWriter writer(&inner.Svg);
    writer.writeStartElement(QStringLiteral("svg"));
    writer.writeDefaultNamespace(kSvgNamespace);
    writer.writeAttribute(QStringLiteral("viewBox"),
                          attributes.value(QStringLiteral("viewBox")).toString());
    writer.writeAttribute(QStringLiteral("fill"), fill);
    writer.writeAttribute(QStringLiteral("stroke-width"), QStringLiteral("0"));
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement())
            ++depth;
        else if (reader.isEndElement() && --depth == 0)
            break;
        writer.writeCurrentToken(reader);
    }
    writer.writeEndElement();
    return inner;
}

TSplitPicture Split(const QByteArray& svg) {
    TSplitPicture split;
    QXmlStreamReader reader(svg);
    QXmlStreamWriter writer(&split.Outer);
    // Per open element: its coordinates to the outer viewBox, and its fill.
    std::vector<std::pair<QTransform, QString>> open;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attributes = reader.attributes();
            const bool nested = reader.name() == QLatin1String("svg") && !open.empty();
            if (nested) {
                split.Inner.push_back(CutInner(reader, open.back().first, open.back().second));
                continue;
            }
            if (open.empty())
                split.ViewBox = ViewBox(attributes);
            const QTransform parent = open.empty() ? QTransform() : open.back().first;
            const QString fill =
                attributes.hasAttribute(QStringLiteral("fill"))
                    ? attributes.value(QStringLiteral("fill")).toString()
                    : (open.empty() ? QStringLiteral("black") : open.back().second);
            open.emplace_back(
                ParseTransform(attributes.value(QStringLiteral("transform")).toString()) * parent,
                fill);
        } else if (reader.isEndElement() && !open.empty()) {
            open.pop_back();
        }
        writer.writeCurrentToken(reader);
    }
    if (reader.hasError())
        split.Outer.clear();
    return split;
}

} // namespace

bool DrawMathSvg(QPainter& painter, const QByteArray& svg, const QSizeF& size) {
    const TSplitPicture split = Split(svg);
    QSvgRenderer outer(split.Outer);
    if (split.Outer.isEmpty() || !outer.isValid() || split.ViewBox.isEmpty())
        return false;
    const QRectF bounds(QPointF(0, 0), size);
    outer.render(&painter, bounds);
    // The outer viewBox onto the bounds, as the outer renderer maps it.
    const QTransform toBounds = QTransform::fromTranslate(-split.ViewBox.x(), -split.ViewBox.y()) *
                                QTransform::fromScale(size.width() / split.ViewBox.width(),
                                                      size.height() / split.ViewBox.height());
    for (const TInnerPicture& inner : split.Inner) {
        QSvgRenderer renderer(inner.Svg);
        if (!renderer.isValid())
            return false;
        painter.save();
        painter.setTransform(inner.ToPicture * toBounds, true);
        painter.setClipRect(inner.Box, Qt::IntersectClip);
        renderer.render(&painter, inner.Box);
        painter.restore();
    }
    return true;
}
