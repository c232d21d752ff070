#include "typeset/MathTypesetter.h"

#include "typeset/MathJaxModule.h"
#include "ui/Modules.h"
#include "ui/SvgModule.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

TTypesetFormula Failure(TTypesetFormula::TStatus status, const QString& message) {
    TTypesetFormula result;
    result.Status = status;
    result.Message = message;
    return result;
}

TTypesetFormula::TStatus FormulaStatus(TMathJaxOutput::TStatus status) {
    switch (status) {
    case TMathJaxOutput::TStatus::Ok:
        return TTypesetFormula::TStatus::Ok;
    case TMathJaxOutput::TStatus::TexError:
        return TTypesetFormula::TStatus::TexError;
    case TMathJaxOutput::TStatus::TimedOut:
        return TTypesetFormula::TStatus::TimedOut;
    case TMathJaxOutput::TStatus::DrawError:
        break;
    }
    return TTypesetFormula::TStatus::DrawError;
}

// The colour of a boxed part (\boxed), which marks a place an explanation
// speaks of.
const QColor kMarkColour(0xd0, 0x00, 0x00);

// MathJax draws in currentColor, which stands for the ink here; a boxed
// part, its box included, is drawn in the marks' colour instead.
QByteArray InInk(QString svg, const QColor& ink) {
    const QString mark = kMarkColour.name(QColor::HexRgb);
    svg.replace(
        QStringLiteral("<g data-mml-node=\"menclose\""),
        QStringLiteral("<g data-mml-node=\"menclose\" fill=\"%1\" stroke=\"%1\"").arg(mark));
    return svg.replace(QStringLiteral("currentColor"), ink.name(QColor::HexRgb)).toUtf8();
}

// Device pixels of a picture of this logical size, or an empty size when it
// exceeds the limits (checked before converting, as a huge size would not
// fit an int).
QSize DeviceSize(const QSizeF& size, qreal devicePixelRatio) {
    const double width = std::max(1.0, std::ceil(size.width() * devicePixelRatio));
    const double height = std::max(1.0, std::ceil(size.height() * devicePixelRatio));
    if (!(width <= TMathTypesetter::MaxImageSide && height <= TMathTypesetter::MaxImageSide &&
          width * height <= double(TMathTypesetter::MaxImageArea)))
        return {};
    return QSize(int(width), int(height));
}

// Draws MathJax's SVG, whose box (x, y, width, height) is in thousandths of
// an em with y = minus the height above the baseline. The box gives the
// pixel size and baseline: the SVG's own width, height and vertical-align
// are in ex, rounded, and Qt SVG does not size ex as MathJax means it.
TTypesetFormula Draw(const QString& svg, const QRectF& box, qreal fontPixelSize,
                     qreal devicePixelRatio, const QColor& ink, qreal scale) {
    const qreal pixelsPerUnit = fontPixelSize * scale / 1000.0;
    const QSizeF size(box.width() * pixelsPerUnit, box.height() * pixelsPerUnit);
    const QSize device = DeviceSize(size, devicePixelRatio);
    if (device.isEmpty())
        return Failure(TTypesetFormula::TStatus::TooLarge,
                       QStringLiteral("Формула слишком велика, чтобы её показать"));

    TTypesetFormula result;
    result.Image = QImage(device, QImage::Format_ARGB32_Premultiplied);
    if (result.Image.isNull())
        return Failure(TTypesetFormula::TStatus::TooLarge,
                       QStringLiteral("Формула слишком велика, чтобы её показать"));
    result.Image.setDevicePixelRatio(devicePixelRatio);
    result.Image.fill(Qt::transparent);
    const TSvgDrawing* drawing = SvgDrawing();
    QPainter painter(&result.Image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (drawing == nullptr || !drawing->DrawMath(painter, InInk(svg, ink), size))
        return Failure(TTypesetFormula::TStatus::DrawError,
                       QStringLiteral("Не удалось нарисовать набранную формулу"));
    painter.end();
    result.Status = TTypesetFormula::TStatus::Ok;
    result.Size = size;
    result.Scale = scale;
    result.Baseline = -box.y() * pixelsPerUnit;
    return result;
}

} // namespace

// Qt's JavaScript engine crashes now and then when it is interrupted inside
// code its compiler made (the typesetter's time limit, the program's end
// while a formula is typeset); MathJax runs as fast interpreted. The engine
// reads the setting when made.
void RunJavaScriptInterpreted() {
    qputenv("QV4_FORCE_INTERPRETER", "1");
}

TMathTypesetter::TMathTypesetter(QObject* parent) : QObject(parent) {}

TMathTypesetter::~TMathTypesetter() = default;

bool TMathTypesetter::EnsureLoaded() {
    if (loaded_)
        return mathJax_ != nullptr;
    loaded_ = true;
    std::unique_ptr<TMathJax> mathJax = LoadMathJaxModule(ModuleFolders(), loadError_);
    if (!mathJax)
        return false;
    {
        // Reachable by Abandon from here on, the script's loading included.
        std::lock_guard guard(abandonLock_);
        if (abandoned_)
            mathJax->Abandon();
        mathJax_ = std::move(mathJax);
    }
    if (mathJax_->Load(loadError_))
        return true;
    std::lock_guard guard(abandonLock_);
    mathJax_.reset();
    return false;
}

bool TMathTypesetter::Abandoned() {
    std::lock_guard guard(abandonLock_);
    return abandoned_;
}

void TMathTypesetter::Abandon() {
    std::lock_guard guard(abandonLock_);
    abandoned_ = true;
    if (mathJax_)
        mathJax_->Abandon();
}

TMathJaxOutput TMathTypesetter::RunMathJax(const QString& tex, qreal pixelsPerEm) {
    for (auto it = recent_.begin(); it != recent_.end(); ++it) {
        if (it->Tex == tex && it->PixelsPerEm == pixelsPerEm) {
            recent_.splice(recent_.begin(), recent_, it);
            return recent_.front();
        }
    }
    TMathJaxOutput output = mathJax_->Typeset(tex, pixelsPerEm, timeLimitMs_);
    // A timed-out formula may succeed when the machine is less busy.
    if (output.Status != TMathJaxOutput::TStatus::TimedOut) {
        recent_.push_front(output);
        if (recent_.size() > kRecentFormulas)
            recent_.pop_back();
    }
    return output;
}

TTypesetFormula TMathTypesetter::Typeset(const QString& tex, qreal fontPixelSize,
                                         qreal devicePixelRatio, const QColor& ink, qreal scale) {
    if (tex.size() > MaxTexLength)
        return Failure(TTypesetFormula::TStatus::TooLarge,
                       QStringLiteral("Формула слишком длинная, чтобы её набрать"));
    if (!(fontPixelSize > 0) || !(devicePixelRatio > 0) || !(scale > 0))
        return Failure(TTypesetFormula::TStatus::TooLarge,
                       QStringLiteral("Размер шрифта и масштаб должны быть больше нуля"));
    if (Abandoned())
        return Failure(TTypesetFormula::TStatus::Unavailable,
                       QStringLiteral("Набор формул остановлен"));
    if (!EnsureLoaded())
        return Failure(TTypesetFormula::TStatus::Unavailable, loadError_);

    const TMathJaxOutput output = RunMathJax(tex, fontPixelSize);
    if (output.Status != TMathJaxOutput::TStatus::Ok)
        return Failure(FormulaStatus(output.Status), output.Message);
    return Draw(output.Svg, output.Box, fontPixelSize, devicePixelRatio, ink, scale);
}
