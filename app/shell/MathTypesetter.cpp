#include "app/shell/MathTypesetter.h"

#include "app/shell/MathSvg.h"

#include <QCoreApplication>
#include <QFile>
#include <QJSEngine>
#include <QJSValue>
#include <QPainter>
#include <QPointer>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

const QString kScriptPath = QStringLiteral(":/mathjax/mathjax-svg.js");
const QString kTypesetFunction = QStringLiteral("formulonTypeset");

// Interrupts the JavaScript engine when a call runs past its time limit.
// MathJax guards against runaway macros itself, but nothing bounds its time.
class TWatchdog {
public:
    TWatchdog(QJSEngine& engine, int limitMs)
        : thread_([this, &engine, limitMs] {
              std::unique_lock lock(mutex_);
              if (!wake_.wait_for(lock, std::chrono::milliseconds(limitMs),
                                  [this] { return stopped_; })) {
                  fired_ = true;
                  engine.setInterrupted(true);
              }
          }) {}

    ~TWatchdog() { Stop(); }

    // Ends the watch; true when it interrupted the engine.
    bool Stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable())
            thread_.join();
        return fired_;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    bool fired_ = false;
    std::thread thread_; // last: starts once the members above exist
};

// The bundle's helper functions use variables before their declaration,
// which is sound JavaScript, yet Qt's compiler warns about each use while it
// loads the script. Those warnings are dropped during the load only.
QtMessageHandler gOuterHandler = nullptr;

void DropCompilerWarnings(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtWarningMsg && context.category != nullptr &&
        std::strcmp(context.category, "qt.qml.compiler") == 0)
        return;
    if (gOuterHandler != nullptr)
        gOuterHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

QJSValue EvaluateQuietly(QJSEngine& engine, const QString& program, const QString& fileName) {
    gOuterHandler = qInstallMessageHandler(DropCompilerWarnings);
    const QJSValue outcome = engine.evaluate(program, fileName);
    qInstallMessageHandler(gOuterHandler);
    return outcome;
}

TTypesetFormula Failure(TTypesetFormula::TStatus status, const QString& message) {
    TTypesetFormula result;
    result.Status = status;
    result.Message = message;
    return result;
}

// MathJax draws in currentColor, which stands for the ink here.
QByteArray InInk(QString svg, const QColor& ink) {
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
                     qreal devicePixelRatio, const QColor& ink) {
    const qreal pixelsPerUnit = fontPixelSize / 1000.0;
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
    QPainter painter(&result.Image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!DrawMathSvg(painter, InInk(svg, ink), size))
        return Failure(TTypesetFormula::TStatus::DrawError,
                       QStringLiteral("Не удалось нарисовать набранную формулу"));
    painter.end();
    result.Status = TTypesetFormula::TStatus::Ok;
    result.Size = size;
    result.Baseline = -box.y() * pixelsPerUnit;
    return result;
}

} // namespace

TMathTypesetter::TMathTypesetter(QObject* parent) : QObject(parent) {}

TMathTypesetter::~TMathTypesetter() = default;

TMathTypesetter& TMathTypesetter::Shared() {
    static QPointer<TMathTypesetter> shared;
    if (!shared)
        shared = new TMathTypesetter(QCoreApplication::instance());
    return *shared;
}

bool TMathTypesetter::EnsureLoaded() {
    if (loaded_)
        return engine_ != nullptr;
    loaded_ = true;
    QFile file(kScriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        loadError_ = QStringLiteral("Не найден сценарий MathJax %1").arg(kScriptPath);
        return false;
    }
    auto engine = std::make_unique<QJSEngine>();
    const QJSValue outcome =
        EvaluateQuietly(*engine, QString::fromUtf8(file.readAll()), kScriptPath);
    if (outcome.isError()) {
        loadError_ = QStringLiteral("Сценарий MathJax не запустился: %1").arg(outcome.toString());
        return false;
    }
    if (!engine->globalObject().property(kTypesetFunction).isCallable()) {
        loadError_ = QStringLiteral("В сценарии MathJax нет функции %1").arg(kTypesetFunction);
        return false;
    }
    engine_ = std::move(engine);
    return true;
}

TMathTypesetter::TMathJaxOutput TMathTypesetter::RunMathJax(const QString& tex, qreal pixelsPerEm) {
    for (auto it = recent_.begin(); it != recent_.end(); ++it) {
        if (it->Tex == tex && it->PixelsPerEm == pixelsPerEm) {
            recent_.splice(recent_.begin(), recent_, it);
            return recent_.front();
        }
    }
    TMathJaxOutput output = CallMathJax(tex, pixelsPerEm);
    // A timed-out formula may succeed when the machine is less busy.
    if (output.Status != TTypesetFormula::TStatus::TimedOut) {
        recent_.push_front(output);
        if (recent_.size() > kRecentFormulas)
            recent_.pop_back();
    }
    return output;
}

TMathTypesetter::TMathJaxOutput TMathTypesetter::CallMathJax(const QString& tex,
                                                             qreal pixelsPerEm) {
    TMathJaxOutput output;
    output.Tex = tex;
    output.PixelsPerEm = pixelsPerEm;
    QJSValue function = engine_->globalObject().property(kTypesetFunction);
    TWatchdog watchdog(*engine_, timeLimitMs_);
    const QJSValue outcome = function.call({tex, pixelsPerEm});
    if (watchdog.Stop()) {
        engine_->setInterrupted(false);
        output.Status = TTypesetFormula::TStatus::TimedOut;
        output.Message =
            QStringLiteral("Набор формулы прерван: он шёл дольше %1 мс").arg(timeLimitMs_);
        return output;
    }
    output.Status = TTypesetFormula::TStatus::TexError;
    if (outcome.isError()) {
        output.Message = outcome.toString();
        return output;
    }
    if (outcome.hasProperty(QStringLiteral("error"))) {
        output.Message = outcome.property(QStringLiteral("error")).toString();
        return output;
    }
    output.Box = QRectF(outcome.property(QStringLiteral("x")).toNumber(),
                        outcome.property(QStringLiteral("y")).toNumber(),
                        outcome.property(QStringLiteral("width")).toNumber(),
                        outcome.property(QStringLiteral("height")).toNumber());
    const QRectF& box = output.Box;
    const bool measured = std::isfinite(box.x()) && std::isfinite(box.y()) && box.width() >= 0 &&
                          box.height() >= 0 && std::isfinite(box.width()) &&
                          std::isfinite(box.height());
    if (!measured) {
        output.Status = TTypesetFormula::TStatus::DrawError;
        output.Message = QStringLiteral("Не удалось нарисовать набранную формулу");
        return output;
    }
    output.Status = TTypesetFormula::TStatus::Ok;
    output.Svg = outcome.property(QStringLiteral("svg")).toString();
    return output;
}

TTypesetFormula TMathTypesetter::Typeset(const QString& tex, qreal fontPixelSize,
                                         qreal devicePixelRatio, const QColor& ink) {
    if (tex.size() > MaxTexLength)
        return Failure(TTypesetFormula::TStatus::TooLarge,
                       QStringLiteral("Формула слишком длинная, чтобы её набрать"));
    if (!(fontPixelSize > 0) || !(devicePixelRatio > 0))
        return Failure(TTypesetFormula::TStatus::TooLarge,
                       QStringLiteral("Размер шрифта и масштаб должны быть больше нуля"));
    if (!EnsureLoaded())
        return Failure(TTypesetFormula::TStatus::Unavailable, loadError_);

    const TMathJaxOutput output = RunMathJax(tex, fontPixelSize);
    if (output.Status != TTypesetFormula::TStatus::Ok)
        return Failure(output.Status, output.Message);
    return Draw(output.Svg, output.Box, fontPixelSize, devicePixelRatio, ink);
}
