// Formulas typeset on a thread of their own, so that the user interface
// never waits for MathJax (0.2 to 0.5 s to load, up to half a second for a
// long formula). One worker thread owns the typesetter and its JavaScript
// engine; windows ask through a TTypesetClient each and get the picture back
// on their own thread through a queued call.
//
//     auto* client = new TTypesetClient(this);
//     connect(client, &TTypesetClient::typeset, this, &TPreview::Show);
//     client->Request({tex, 18, devicePixelRatioF()}, 300); // 300 ms after the last key
//
// Requests are answered in the order they reach the worker. A client's newer
// request supersedes its older one: the older one is never answered, and is
// dropped unrun while it waits.
#pragma once

#include "typeset/MathTypesetter.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QString>

#include <memory>
#include <unordered_map>

class QTimer;

struct TTypesetRequest {
    QString Tex;
    qreal PixelsPerEm = 18; // one em in logical pixels
    qreal DevicePixelRatio = 1;
    QColor Ink = Qt::black;
    // When not empty, the largest logical size: a larger formula is drawn
    // smaller to fit, but never below MinScale of its own size.
    QSizeF FitInto;
    qreal MinScale = 1;
};

class TTypesetClient;

class TTypesetService : public QObject {
    Q_OBJECT
public:
    // The worker starts at once; MathJax loads with the first formula.
    explicit TTypesetService(QObject* parent = nullptr);
    // Interrupts the formula being typeset, ends the worker and waits for
    // it; requests not answered by then never are.
    ~TTypesetService() override;

    // The program's one service, created on first use. The application
    // object ends it (StopShared) before the windowing system goes; from
    // then on there is none (null), and it is never made again.
    static TTypesetService* Shared();
    static void StopShared();

    // How long one formula may take; for the next formula begun.
    void SetTimeLimit(int milliseconds);

    // Formulas the worker has begun to typeset, superseded ones that were
    // dropped unrun not counted.
    int FormulasBegun() const;

private:
    friend class TTypesetClient;
    class TWorker;

    quint64 Register(TTypesetClient* client);
    void Unregister(quint64 client);
    void Submit(quint64 client, quint64 generation, const TTypesetRequest& request);
    void Withdraw(quint64 client);
    void Deliver(quint64 client, quint64 generation, const TTypesetFormula& formula);

    std::unique_ptr<TWorker> worker_;
    std::unordered_map<quint64, TTypesetClient*> clients_;
    quint64 lastClient_ = 0;
};

// One window's (or one picture's) requests. Lives on the thread that
// created the service, the user-interface thread.
class TTypesetClient : public QObject {
    Q_OBJECT
public:
    // Asks the given service, or the shared one when none is given.
    explicit TTypesetClient(QObject* parent = nullptr, TTypesetService* service = nullptr);
    ~TTypesetClient() override;

    // Asks for a formula, superseding this client's request not yet
    // answered. It goes to the worker after delayMs with no newer request:
    // while the pupil types, a pause after the last key. Returns at once;
    // when the service has ended, with the answer that typesetting has
    // stopped.
    void Request(const TTypesetRequest& request, int delayMs = 0);
    // Takes back the request not yet answered, if any.
    void Cancel();
    // Whether a request waits for its answer (none does once the service
    // has ended).
    bool Pending() const { return pending_ && service_; }

signals:
    // The answer to the latest request, on this client's thread.
    void typeset(const TTypesetFormula& formula);

private:
    void Send();
    void Answer(quint64 generation, const TTypesetFormula& formula);

    QPointer<TTypesetService> service_;
    bool ownService_; // given, not the shared one
    quint64 id_ = 0;
    quint64 generation_ = 0;
    bool pending_ = false;
    TTypesetRequest waiting_; // while the pause runs
    QTimer* pause_;

    friend class TTypesetService;
};
