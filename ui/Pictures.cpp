#include "ui/Pictures.h"

#include "ui/BitmapResources.h"
#include "ui/Resources.h"
#include "ui/SvgModule.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QIconEngine>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QtMath>

#include <exception>
#include <utility>

namespace {

const QString kVectorDir = QStringLiteral(":/svg");
const QString kIconDir = QStringLiteral(":/icons");
// Rows of the title picture the main window shows.
constexpr int kTitleRows = 273;
// Icon sizes drawn from the vectors: ratios 1.25, 1.5, 2, 2.5, 3 and 4 of 16.
constexpr int kIconSizes[] = {20, 24, 32, 40, 48, 64};

bool IsDense(qreal ratio) {
    return ratio > 1.0 + 1e-6;
}

// The vector picture in dir whose base name equals name in any letter case,
// as the bitmaps are looked up. Empty when there is none, it does not parse
// or Qt SVG's module is not there: the bitmap is shown then, enlarged,
// rather than nothing.
QByteArray FindVector(const QString& dir, const QString& name) {
    // The vector pictures are resources of Qt SVG's module: there once it is.
    const TSvgDrawing* drawing = SvgDrawing();
    if (drawing == nullptr)
        return {};
    for (const QFileInfo& info : QDir(dir).entryInfoList({QStringLiteral("*.svg")}, QDir::Files)) {
        if (info.completeBaseName().compare(name, Qt::CaseInsensitive) != 0)
            continue;
        QFile file(info.filePath());
        const QByteArray svg = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return drawing->IsValid(svg) ? svg : QByteArray();
    }
    return {};
}

// The vector picture to draw at ratio; empty where the bitmap is shown.
QByteArray VectorFor(const QString& name, qreal ratio) {
    return IsDense(ratio) ? FindVector(kVectorDir, name) : QByteArray();
}

// A canvas of size device-independent pixels at ratio, filled with ground.
QImage Canvas(QSizeF size, qreal ratio, const QColor& ground) {
    QImage image(qCeil(size.width() * ratio), qCeil(size.height() * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(ground);
    return image;
}

// The vector picture drawn over target (device-independent pixels) on a
// canvas; the canvas clips whatever lies outside it. Only for a picture
// FindVector gave, so Qt SVG's module is loaded.
QImage Rendered(const QByteArray& svg, QSizeF canvas, const QRectF& target, qreal ratio,
                const QColor& ground = Qt::transparent) {
    QImage image = Canvas(canvas, ratio, ground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    SvgDrawing()->Render(painter, svg, target);
    return image;
}

// The same drawing with white paint turned black.
QByteArray WhiteToBlack(QByteArray svg) {
    static const QRegularExpression white(
        QStringLiteral(R"(((?:fill|stroke|stop-color)\s*[=:]\s*"?\s*)(?:#fff(?:fff)?|white)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return QString::fromUtf8(svg).replace(white, QStringLiteral("\\1#000000")).toUtf8();
}

// The verdict bitmaps lose their white ground to the window's colour. For
// the vector version, drawing it once on white and once with white as black
// on black tells for every pixel how much of it is white or empty, so that
// share becomes see-through, smooth edges included, and every other colour
// stays exactly as drawn.
QImage WithoutWhite(const QByteArray& svg, QSizeF size, qreal ratio) {
    const QRectF target(QPointF(0, 0), size);
    const QImage onWhite = Rendered(svg, size, target, ratio, Qt::white);
    QImage result = Rendered(WhiteToBlack(svg), size, target, ratio, Qt::black);
    for (int y = 0; y < result.height(); ++y) {
        const auto* w = reinterpret_cast<const QRgb*>(onWhite.constScanLine(y));
        auto* k = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const int white = (qRed(w[x]) - qRed(k[x]) + qGreen(w[x]) - qGreen(k[x]) + qBlue(w[x]) -
                               qBlue(k[x]) + 1) /
                              3;
            const int alpha = qBound(0, 255 - white, 255);
            // What is left on black is the colour already weighted by its
            // share: a premultiplied pixel.
            k[x] = qRgba(qMin(qRed(k[x]), alpha), qMin(qGreen(k[x]), alpha),
                         qMin(qBlue(k[x]), alpha), alpha);
        }
    }
    return result;
}

// The bitmap's white turned see-through, pixel for pixel.
QImage WhiteSeeThrough(const QImage& picture) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0x00FFFFFFu) == 0x00FFFFFFu)
                row[x] = qRgba(0, 0, 0, 0);
    }
    return image;
}

// The disabled look the greyed twins have: light greys, the same alpha.
QImage Greyed(const QImage& glyph) {
    QImage image = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double lum =
                0.299 * qRed(row[x]) + 0.587 * qGreen(row[x]) + 0.114 * qBlue(row[x]);
            const int grey = qRound(128 + lum / 2);
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]));
        }
    }
    return image;
}

// Renders for denser screens added to icon; greyed also fills the
// disabled look.
void AddVectorSizes(QIcon& icon, const QString& name, bool greyed) {
    const QByteArray svg = FindVector(kVectorDir + QStringLiteral("/icons"), name);
    if (svg.isEmpty())
        return;
    for (int size : kIconSizes) {
        const QSizeF square(size, size);
        const QImage image = Rendered(svg, square, QRectF(QPointF(0, 0), square), 1.0);
        icon.addPixmap(QPixmap::fromImage(image), QIcon::Normal);
        if (greyed)
            icon.addPixmap(QPixmap::fromImage(Greyed(image)), QIcon::Disabled);
    }
}

// Keeps a label's picture drawn at its screen's ratio. Screen changes,
// ratio changes and showing are the usual moments; painting is checked too,
// as every way a ratio can change ends in a repaint.
class TPictureFollower : public QObject {
public:
    TPictureFollower(QLabel* label, qreal ratio) : QObject(label), label_(label), ratio_(ratio) {
        label->installEventFilter(this);
    }

    void Follow(std::function<QPixmap(qreal)> draw, qreal ratio) {
        draw_ = std::move(draw);
        ratio_ = ratio;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && NeedsCheck(event->type()))
            Refresh();
        return QObject::eventFilter(watched, event);
    }

private:
    static bool NeedsCheck(QEvent::Type type) {
        switch (type) {
        case QEvent::Show:
        case QEvent::ScreenChangeInternal:
        case QEvent::Paint:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        case QEvent::DevicePixelRatioChange:
#endif
            return true;
        default:
            return false;
        }
    }

    void Refresh() {
        const qreal ratio = label_->devicePixelRatioF();
        if (!draw_ || qFuzzyCompare(ratio, ratio_))
            return;
        ratio_ = ratio;
        // The picture was drawn once already, so this cannot miss a
        // resource; should it fail anyway, the picture shown stays.
        try {
            label_->setPixmap(draw_(ratio));
        } catch (const std::exception&) {
        }
    }

    QLabel* label_;
    qreal ratio_;
    std::function<QPixmap(qreal)> draw_;
};

// Stands for the icon make() returns, made on the first question. Each
// question is put to that icon's own engine in the one form QIcon passes it
// on unchanged: a pixmap at ratio 1 is the engine's pixmap(), one above 1 its
// scaledPixmap() (QIcon asks for size times ratio, so the size is divided
// back first).
class TDeferredIconEngine : public QIconEngine {
public:
    explicit TDeferredIconEngine(std::function<QIcon()> make) : make_(std::move(make)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        // The engine's own answer is the size of the pixmap it gives.
        const QPixmap pixmap = this->pixmap(size, mode, state);
        return pixmap.isNull() ? QSize() : pixmap.size();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        if (!(scale > 1.0))
            return pixmap(size, mode, state);
        return Icon().pixmap(size / scale, scale, mode, state);
    }
    void addPixmap(const QPixmap& pixmap, QIcon::Mode mode, QIcon::State state) override {
        Icon().addPixmap(pixmap, mode, state);
    }
    void addFile(const QString& fileName, const QSize& size, QIcon::Mode mode,
                 QIcon::State state) override {
        Icon().addFile(fileName, size, mode, state);
    }
    QString key() const override { return QStringLiteral("TDeferredIconEngine"); }
    QIconEngine* clone() const override {
        auto* copy = new TDeferredIconEngine(make_);
        copy->made_ = made_;
        copy->icon_ = icon_;
        return copy;
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QString iconName() override { return Icon().name(); }
    bool isNull() override { return Icon().isNull(); }
    void virtual_hook(int id, void* data) override {
        switch (id) {
        case QIconEngine::IsNullHook:
            *static_cast<bool*>(data) = isNull();
            break;
        case QIconEngine::ScaledPixmapHook: {
            auto* argument = static_cast<QIconEngine::ScaledPixmapArgument*>(data);
            argument->pixmap =
                scaledPixmap(argument->size, argument->mode, argument->state, argument->scale);
            break;
        }
        default:
            QIconEngine::virtual_hook(id, data);
        }
    }

private:
    QIcon& Icon() {
        if (!made_) {
            made_ = true;
            icon_ = make_();
        }
        return icon_;
    }

    std::function<QIcon()> make_;
    bool made_ = false;
    QIcon icon_;
};

} // namespace

QPixmap TaskPicture(const QString& name, qreal ratio) {
    const QImage bitmap = LoadBitmapResource(name);
    const QByteArray vector = VectorFor(name, ratio);
    if (vector.isEmpty())
        return QPixmap::fromImage(bitmap);
    // The vector's ink lies where the bitmap's does when it covers the
    // bitmap's rectangle; its ground is see-through, like the bitmap's white
    // on the task box.
    const QSizeF size(bitmap.size());
    return QPixmap::fromImage(Rendered(vector, size, QRectF(QPointF(0, 0), size), ratio));
}

QImage SmallTaskPicture(const QString& name, qreal scale, qreal ratio) {
    const QImage bitmap = LoadBitmapResource(name);
    // Smaller than itself, the bitmap is no longer the picture pixel for
    // pixel: the vector draws it more clearly at every ratio.
    const QByteArray vector = FindVector(kVectorDir, name);
    const QSizeF size = QSizeF(bitmap.size()) * scale;
    if (!vector.isEmpty())
        return Rendered(vector, size, QRectF(QPointF(0, 0), size), ratio, Qt::white);
    QImage image = bitmap.convertToFormat(QImage::Format_RGB32)
                       .scaled(qCeil(size.width() * ratio), qCeil(size.height() * ratio),
                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    return image;
}

QPixmap VerdictPicture(const QString& name, qreal ratio) {
    const QImage bitmap = LoadBitmapResource(name);
    const QByteArray vector = VectorFor(name, ratio);
    if (vector.isEmpty())
        return QPixmap::fromImage(WhiteSeeThrough(bitmap));
    return QPixmap::fromImage(WithoutWhite(vector, QSizeF(bitmap.size()), ratio));
}

QPixmap TitlePicture(qreal ratio) {
    const QString path = QStringLiteral(":/jpeg/title.jpg");
    const QByteArray vector = VectorFor(QStringLiteral("title"), ratio);
    if (vector.isEmpty()) // only the rows shown are kept, and the pixmap takes them as they are
        return QPixmap::fromImage(JpegResource(path, kTitleRows));
    const QImage title = JpegResource(path);
    const int rows = qMin(kTitleRows, title.height());
    return QPixmap::fromImage(Rendered(vector, QSizeF(title.width(), rows),
                                       QRectF(QPointF(0, 0), QSizeF(title.size())), ratio));
}

QPixmap BannerPicture(qreal ratio) {
    const QImage banner = JpegResource(QStringLiteral(":/jpeg/banner.jpg"));
    const QByteArray vector = VectorFor(QStringLiteral("banner"), ratio);
    if (vector.isEmpty())
        return QPixmap::fromImage(banner);
    const QSizeF size(banner.size());
    return QPixmap::fromImage(Rendered(vector, size, QRectF(QPointF(0, 0), size), ratio));
}

QIcon ScalableIcon(const QString& name) {
    const QString path = kIconDir + QLatin1Char('/') + name + QStringLiteral(".png");
    RequireResource(path);
    return DeferredIcon([name, path] {
        QIcon icon = IconResource(path);
        AddVectorSizes(icon, name, false);
        return icon;
    });
}

QIcon ScalableGlyph(const QString& name) {
    const QString base = kIconDir + QLatin1Char('/') + name;
    const QString path = base + QStringLiteral(".png");
    const QString disabledPath = base + QStringLiteral("-disabled.png");
    RequireResource(path);
    RequireResource(disabledPath);
    return DeferredIcon([name, path, disabledPath] {
        QIcon icon = IconResource(path, disabledPath);
        AddVectorSizes(icon, name, true);
        return icon;
    });
}

QIcon DeferredIcon(std::function<QIcon()> make) {
    return QIcon(new TDeferredIconEngine(std::move(make)));
}

void ShowPicture(QLabel* label, std::function<QPixmap(qreal)> draw) {
    const qreal ratio = label->devicePixelRatioF();
    label->setPixmap(draw(ratio));
    TPictureFollower* follower = nullptr;
    for (QObject* child : label->children())
        follower = follower ? follower : dynamic_cast<TPictureFollower*>(child);
    if (!follower)
        follower = new TPictureFollower(label, ratio);
    follower->Follow(std::move(draw), ratio);
}
