// MathJax in Qt's JavaScript engine: the module behind the formula
// typesetter, loaded on its first formula.
#include "typeset/mathjax/MathJax.h"

#include <QFile>
#include <QJSEngine>
#include <QJSValue>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <memory>
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
// loads the script. Those warnings are dropped during the load only. The
// load runs on the typesetter's thread while other threads may log.
std::atomic<QtMessageHandler> gOuterHandler = nullptr;

void DropCompilerWarnings(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtWarningMsg && context.category != nullptr &&
        std::strcmp(context.category, "qt.qml.compiler") == 0)
        return;
    if (const QtMessageHandler outer = gOuterHandler)
        outer(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

QJSValue EvaluateQuietly(QJSEngine& engine, const QString& program, const QString& fileName) {
    // The handler in force is read before this one replaces it, so that
    // nothing logged meanwhile is lost.
    gOuterHandler = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(DropCompilerWarnings);
    const QJSValue outcome = engine.evaluate(program, fileName);
    qInstallMessageHandler(gOuterHandler);
    return outcome;
}

bool Measured(const QRectF& box) {
    return std::isfinite(box.x()) && std::isfinite(box.y()) && box.width() >= 0 &&
           box.height() >= 0 && std::isfinite(box.width()) && std::isfinite(box.height());
}

class TQtMathJax final : public TMathJax {
public:
    bool Load(QString& error) override;
    TMathJaxOutput Typeset(const QString& tex, qreal pixelsPerEm, int timeLimitMs) override;
    void Abandon() override;

private:
    bool Ready() const { return engine_ && loaded_ && !abandoned_; }
    // After a watchdog's interruption; an abandoned engine stays interrupted.
    void Resume();

    // The engine is made, used and destroyed on one thread; Abandon, from
    // another, reaches it under the lock.
    std::mutex lock_;
    std::unique_ptr<QJSEngine> engine_;
    bool loaded_ = false;
    std::atomic<bool> abandoned_ = false;
};

bool TQtMathJax::Load(QString& error) {
    QFile file(kScriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Не найден сценарий MathJax %1").arg(kScriptPath);
        return false;
    }
    {
        std::lock_guard guard(lock_);
        if (abandoned_) {
            error = QStringLiteral("Набор формул остановлен");
            return false;
        }
        engine_ = std::make_unique<QJSEngine>();
    }
    const QJSValue outcome =
        EvaluateQuietly(*engine_, QString::fromUtf8(file.readAll()), kScriptPath);
    if (abandoned_) {
        error = QStringLiteral("Набор формул остановлен");
        return false;
    }
    if (outcome.isError()) {
        error = QStringLiteral("Сценарий MathJax не запустился: %1").arg(outcome.toString());
        return false;
    }
    if (!engine_->globalObject().property(kTypesetFunction).isCallable()) {
        error = QStringLiteral("В сценарии MathJax нет функции %1").arg(kTypesetFunction);
        return false;
    }
    loaded_ = true;
    return true;
}

void TQtMathJax::Abandon() {
    std::lock_guard guard(lock_);
    abandoned_ = true;
    if (engine_)
        engine_->setInterrupted(true);
}

void TQtMathJax::Resume() {
    std::lock_guard guard(lock_);
    if (!abandoned_)
        engine_->setInterrupted(false);
}

TMathJaxOutput TQtMathJax::Typeset(const QString& tex, qreal pixelsPerEm, int timeLimitMs) {
    using TStatus = TMathJaxOutput::TStatus;
    TMathJaxOutput output;
    output.Tex = tex;
    output.PixelsPerEm = pixelsPerEm;
    if (!Ready()) {
        output.Message = abandoned_ ? QStringLiteral("Набор формул остановлен")
                                    : QStringLiteral("Сценарий MathJax не загружен");
        return output;
    }
    QJSValue function = engine_->globalObject().property(kTypesetFunction);
    TWatchdog watchdog(*engine_, timeLimitMs);
    const QJSValue outcome = function.call({tex, pixelsPerEm});
    const bool timedOut = watchdog.Stop();
    if (abandoned_) {
        output.Message = QStringLiteral("Набор формул остановлен");
        return output;
    }
    if (timedOut) {
        Resume();
        output.Status = TStatus::TimedOut;
        output.Message =
            QStringLiteral("Набор формулы прерван: он шёл дольше %1 мс").arg(timeLimitMs);
        return output;
    }
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
    if (!Measured(output.Box)) {
        output.Status = TStatus::DrawError;
        output.Message = QStringLiteral("Не удалось нарисовать набранную формулу");
        return output;
    }
    output.Status = TStatus::Ok;
    output.Svg = outcome.property(QStringLiteral("svg")).toString();
    return output;
}

} // namespace

extern "C" Q_DECL_EXPORT TMathJax* FORMULON_MATHJAX_FACTORY() {
    return new TQtMathJax;
}
