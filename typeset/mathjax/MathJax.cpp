// MathJax in Qt's JavaScript engine: the module behind the formula
// typesetter, loaded on its first formula.
#include "typeset/mathjax/MathJax.h"

#include <QFile>
#include <QJSEngine>
#include <QJSValue>
#include <QLoggingCategory>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

const QString kScriptPath = QStringLiteral(":/mathjax/mathjax-svg.js");
const QString kTypesetFunction = QStringLiteral("formulonTypeset");

// Interrupts the JavaScript engine when a call runs past its time limit.
// MathJax guards against runaway macros itself, but nothing bounds its time.
// One thread watches every call of the engine's life, started with the
// first: a thread per formula would cost each formula a thread's start.
class TWatchdog {
public:
    explicit TWatchdog(QJSEngine& engine) : engine_(engine) {}

    ~TWatchdog() {
        {
            std::lock_guard lock(mutex_);
            ending_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable())
            thread_.join();
    }

    TWatchdog(const TWatchdog&) = delete;
    TWatchdog& operator=(const TWatchdog&) = delete;

    // Watches the call about to begin: the engine is interrupted unless
    // Disarm comes within the limit.
    void Arm(int limitMs) {
        {
            std::lock_guard lock(mutex_);
            deadline_ = Clock::now() + std::chrono::milliseconds(limitMs);
            armed_ = true;
            fired_ = false;
        }
        if (!thread_.joinable())
            thread_ = std::thread([this] { Watch(); });
        else
            wake_.notify_one();
    }

    // Ends the watch of the call; true when it interrupted the engine.
    bool Disarm() {
        std::lock_guard lock(mutex_);
        armed_ = false;
        return fired_;
    }

private:
    using Clock = std::chrono::steady_clock;

    void Watch() {
        std::unique_lock lock(mutex_);
        while (!ending_) {
            if (!armed_) {
                wake_.wait(lock);
            } else if (Clock::now() < deadline_) {
                wake_.wait_until(lock, deadline_);
            } else {
                fired_ = true;
                armed_ = false;
                engine_.setInterrupted(true);
            }
        }
    }

    QJSEngine& engine_;
    std::mutex mutex_;
    std::condition_variable wake_;
    Clock::time_point deadline_;
    bool armed_ = false;
    bool fired_ = false;
    bool ending_ = false;
    std::thread thread_;
};

// The bundle's helper functions use variables before their declaration,
// which is sound JavaScript, yet Qt's compiler warns about each use while it
// loads the script. A logging rule drops those warnings, set once for the
// process: Qt's message handler is never swapped, so a handler the program
// or its tests installed stays in force on every thread. No other code
// sets logging rules; QT_LOGGING_RULES still overrides this one.
void DropCompilerWarnings() {
    static std::once_flag once;
    std::call_once(once, [] {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.qml.compiler.warning=false"));
    });
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
    std::unique_ptr<TWatchdog> watchdog_; // after the engine: ends first
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
        watchdog_ = std::make_unique<TWatchdog>(*engine_);
    }
    DropCompilerWarnings();
    const QJSValue outcome = engine_->evaluate(QString::fromUtf8(file.readAll()), kScriptPath);
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
    watchdog_->Arm(timeLimitMs);
    const QJSValue outcome = function.call({tex, pixelsPerEm});
    const bool timedOut = watchdog_->Disarm();
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
