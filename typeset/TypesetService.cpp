#include "typeset/TypesetService.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <list>
#include <mutex>
#include <optional>

namespace {

// MathJax's parser recurses with the formula's nesting; the same stack as
// the main thread's, whatever the thread default.
constexpr uint kWorkerStack = 8u << 20;

struct TJob {
    quint64 Client;
    quint64 Generation;
    TTypesetRequest Request;
};

// The formula at its own size, or drawn again smaller to fit the box: the
// second drawing reuses MathJax's output, so it costs the drawing only, and
// it is drawn for the smaller size rather than scaled, so it stays sharp.
TTypesetFormula TypesetToFit(TMathTypesetter& typesetter, const TTypesetRequest& request) {
    TTypesetFormula formula =
        typesetter.Typeset(request.Tex, request.PixelsPerEm, request.DevicePixelRatio, request.Ink);
    if (!formula.Ok() || request.FitInto.isEmpty() || formula.Size.isEmpty())
        return formula;
    const qreal fit = std::min(request.FitInto.width() / formula.Size.width(),
                               request.FitInto.height() / formula.Size.height());
    const qreal scale = std::max(std::min(request.MinScale, qreal(1)), fit);
    if (!(scale < 1))
        return formula;
    TTypesetFormula smaller = typesetter.Typeset(request.Tex, request.PixelsPerEm,
                                                 request.DevicePixelRatio, request.Ink, scale);
    return smaller.Ok() ? smaller : formula;
}

} // namespace

// Owns the typesetter, made and destroyed on this thread, as its JavaScript
// engine must be. Jobs wait in the order they came, one per client.
class TTypesetService::TWorker : public QThread {
public:
    explicit TWorker(TTypesetService* service) : service_(service) {
        setObjectName(QStringLiteral("Formulon typesetter"));
        setStackSize(kWorkerStack);
    }

    ~TWorker() override { Stop(); }

    void Submit(TJob job) {
        {
            std::lock_guard guard(lock_);
            DropJobOf(job.Client);
            jobs_.push_back(std::move(job));
        }
        wake_.notify_one();
    }

    void Withdraw(quint64 client) {
        std::lock_guard guard(lock_);
        DropJobOf(client);
    }

    void SetTimeLimit(int milliseconds) {
        std::lock_guard guard(lock_);
        timeLimitMs_ = milliseconds;
    }

    // Interrupts MathJax, wherever it is, and waits for the thread's end.
    void Stop() {
        {
            std::lock_guard guard(lock_);
            stopping_ = true;
            jobs_.clear();
            if (typesetter_ != nullptr)
                typesetter_->Abandon();
        }
        wake_.notify_one();
        wait();
    }

    std::atomic<int> Begun = 0;

protected:
    void run() override {
        TMathTypesetter typesetter;
        {
            std::lock_guard guard(lock_);
            typesetter_ = &typesetter;
        }
        while (std::optional<TJob> job = Next(typesetter)) {
            TTypesetFormula formula = TypesetToFit(typesetter, job->Request);
            // Queued to the service's thread; should the service be gone by
            // then, its posted calls go with it.
            QMetaObject::invokeMethod(
                service_,
                [service = service_, client = job->Client, generation = job->Generation,
                 formula = std::move(formula)] { service->Deliver(client, generation, formula); },
                Qt::QueuedConnection);
        }
        std::lock_guard guard(lock_);
        typesetter_ = nullptr;
    }

private:
    std::optional<TJob> Next(TMathTypesetter& typesetter) {
        std::unique_lock guard(lock_);
        wake_.wait(guard, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_)
            return std::nullopt;
        TJob job = std::move(jobs_.front());
        jobs_.pop_front();
        typesetter.SetTimeLimit(timeLimitMs_);
        ++Begun;
        return job;
    }

    void DropJobOf(quint64 client) {
        jobs_.remove_if([client](const TJob& job) { return job.Client == client; });
    }

    TTypesetService* const service_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::list<TJob> jobs_;
    bool stopping_ = false;
    int timeLimitMs_ = TMathTypesetter::DefaultTimeLimitMs;
    TMathTypesetter* typesetter_ = nullptr; // while the thread runs
};

namespace {

struct TSharedService {
    QPointer<TTypesetService> Service;
    bool Stopped = false; // by StopShared: never made again
};

TSharedService& SharedService() {
    static TSharedService shared;
    return shared;
}

// The answer to a request after the service ended, in the typesetter's
// words for an abandoned formula.
TTypesetFormula StoppedAnswer() {
    TTypesetFormula formula;
    formula.Status = TTypesetFormula::TStatus::Unavailable;
    formula.Message = QStringLiteral("Набор формул остановлен");
    return formula;
}

} // namespace

TTypesetService::TTypesetService(QObject* parent)
    : QObject(parent), worker_(std::make_unique<TWorker>(this)) {
    worker_->start(QThread::LowPriority);
}

TTypesetService::~TTypesetService() {
    worker_->Stop();
}

TTypesetService* TTypesetService::Shared() {
    TSharedService& shared = SharedService();
    if (!shared.Service && !shared.Stopped)
        shared.Service = new TTypesetService(QCoreApplication::instance());
    return shared.Service;
}

void TTypesetService::StopShared() {
    TSharedService& shared = SharedService();
    shared.Stopped = true;
    delete shared.Service.data();
}

void TTypesetService::SetTimeLimit(int milliseconds) {
    worker_->SetTimeLimit(milliseconds);
}

int TTypesetService::FormulasBegun() const {
    return worker_->Begun;
}

quint64 TTypesetService::Register(TTypesetClient* client) {
    clients_[++lastClient_] = client;
    return lastClient_;
}

void TTypesetService::Unregister(quint64 client) {
    worker_->Withdraw(client);
    clients_.erase(client);
}

void TTypesetService::Submit(quint64 client, quint64 generation, const TTypesetRequest& request) {
    worker_->Submit({client, generation, request});
}

void TTypesetService::Withdraw(quint64 client) {
    worker_->Withdraw(client);
}

void TTypesetService::Deliver(quint64 client, quint64 generation, const TTypesetFormula& formula) {
    const auto it = clients_.find(client);
    if (it != clients_.end())
        it->second->Answer(generation, formula);
}

TTypesetClient::TTypesetClient(QObject* parent, TTypesetService* service)
    : QObject(parent), service_(service), ownService_(service != nullptr),
      pause_(new QTimer(this)) {
    pause_->setSingleShot(true);
    connect(pause_, &QTimer::timeout, this, &TTypesetClient::Send);
}

TTypesetClient::~TTypesetClient() {
    if (service_ && id_ != 0)
        service_->Unregister(id_);
}

void TTypesetClient::Request(const TTypesetRequest& request, int delayMs) {
    // The shared service starts with the first request, not with the client.
    if (!service_ && !ownService_) {
        service_ = TTypesetService::Shared();
        id_ = 0;
    }
    if (!service_) {
        // Ended: nothing will typeset it, and the asker is told so now.
        ++generation_;
        pause_->stop();
        Send();
        return;
    }
    if (id_ == 0)
        id_ = service_->Register(this);
    ++generation_;
    pending_ = true;
    waiting_ = request;
    if (delayMs > 0) {
        // An older request still waiting for the worker need not run.
        service_->Withdraw(id_);
        pause_->start(delayMs);
        return;
    }
    pause_->stop();
    Send();
}

void TTypesetClient::Cancel() {
    ++generation_;
    pending_ = false;
    pause_->stop();
    if (service_ && id_ != 0)
        service_->Withdraw(id_);
}

void TTypesetClient::Send() {
    if (service_) {
        service_->Submit(id_, generation_, waiting_);
        return;
    }
    // The service ended during the pause.
    pending_ = false;
    emit typeset(StoppedAnswer());
}

void TTypesetClient::Answer(quint64 generation, const TTypesetFormula& formula) {
    if (!pending_ || generation != generation_)
        return;
    pending_ = false;
    emit typeset(formula);
}
