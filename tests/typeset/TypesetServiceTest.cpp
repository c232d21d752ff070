// The typesetter on its own thread: answers come later, on the asking
// thread, for the latest request of each client only, and the service ends
// promptly however busy it is.
#include "typeset/TypesetService.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Loading MathJax takes seconds under the sanitizers.
constexpr int kPatience = 30000;

// What one client was answered, and on which thread.
struct TAnswers {
    explicit TAnswers(TTypesetClient& client) {
        QObject::connect(
            &client, &TTypesetClient::typeset, &client, [this](const TTypesetFormula& formula) {
                Formulas.push_back(formula);
                OnMainThread = OnMainThread &&
                               QThread::currentThread() == QCoreApplication::instance()->thread();
            });
    }
    std::vector<TTypesetFormula> Formulas;
    bool OnMainThread = true;
};

TTypesetRequest Formula(const QString& tex) {
    TTypesetRequest request;
    request.Tex = tex;
    return request;
}

// Wide enough to be drawn smaller in a small box, and slow enough to be
// still running when the next request comes.
QString LongFormula(int terms) {
    return QStringLiteral("\\frac{y}{z}+").repeated(terms) + QStringLiteral("1");
}

// Requests are answered later, in the order they came, so when a later
// client's answer is in, every earlier request has been dealt with. A
// client gone before its answer is never answered.
TEST(TypesetService, ANewerRequestSupersedesTheOlderOnes) {
    TTypesetService service;
    auto gone = std::make_unique<TTypesetClient>(nullptr, &service);
    TTypesetClient typing(nullptr, &service), other(nullptr, &service);
    TAnswers typed(typing), others(other), goneAnswers(*gone);
    for (const int terms : {30, 2, 3})
        typing.Request(Formula(LongFormula(terms)));
    gone->Request(Formula(LongFormula(10)));
    gone.reset();
    other.Request(Formula(QStringLiteral("z")));
    EXPECT_TRUE(typing.Pending() && typed.Formulas.empty()) << "returned before the answer";
    ASSERT_TRUE(WaitFor([&] { return !others.Formulas.empty(); }, kPatience));
    EXPECT_TRUE(typed.OnMainThread && others.OnMainThread);
    ASSERT_EQ(typed.Formulas.size(), 1u);
    EXPECT_TRUE(goneAnswers.Formulas.empty());
    EXPECT_FALSE(typing.Pending());
    // The first may have begun before the others came; the second waited
    // and was dropped unrun.
    EXPECT_LE(service.FormulasBegun(), 4);
    other.Request(Formula(LongFormula(3)));
    ASSERT_TRUE(WaitFor([&] { return others.Formulas.size() == 2; }, kPatience));
    EXPECT_TRUE(typed.Formulas[0].Ok());
    EXPECT_EQ(typed.Formulas[0].Size, others.Formulas[1].Size) << "the latest one";
}

TEST(TypesetService, APauseRestartsWithEveryRequestAndCancelTakesItBack) {
    TTypesetService service;
    TTypesetClient typing(nullptr, &service), other(nullptr, &service);
    TAnswers typed(typing), others(other);
    for (const char* tex : {"y", "y+", "y+z"})
        typing.Request(Formula(QString::fromLatin1(tex)), 40);
    ASSERT_TRUE(WaitFor([&] { return !typed.Formulas.empty(); }, kPatience));
    EXPECT_EQ(service.FormulasBegun(), 1) << "only the request after the pause";
    typing.Request(Formula(QStringLiteral("y-z")), 40);
    typing.Cancel();
    EXPECT_FALSE(typing.Pending());
    other.Request(Formula(QStringLiteral("z")), 80);
    ASSERT_TRUE(WaitFor([&] { return !others.Formulas.empty(); }, kPatience));
    EXPECT_EQ(typed.Formulas.size(), 1u);
    EXPECT_EQ(service.FormulasBegun(), 2);
}

// Ended in the middle of a formula, or before MathJax has loaded: the
// thread is interrupted and joined (a hang would stop the test), nothing is
// answered afterwards, and a client outliving the service does no harm.
TEST(TypesetService, EndsWhileTypesetting) {
    for (const bool loaded : {false, true}) {
        auto service = std::make_unique<TTypesetService>();
        TTypesetClient client(nullptr, service.get());
        TAnswers answers(client);
        if (loaded) {
            client.Request(Formula(QStringLiteral("y")));
            ASSERT_TRUE(WaitFor([&] { return !answers.Formulas.empty(); }, kPatience));
        }
        service->SetTimeLimit(60000);
        client.Request(Formula(LongFormula(200)));
        ASSERT_TRUE(WaitFor([&] { return service->FormulasBegun() == (loaded ? 2 : 1); }));
        service.reset();
        const std::size_t before = answers.Formulas.size();
        QCoreApplication::processEvents();
        EXPECT_EQ(answers.Formulas.size(), before);
        client.Request(Formula(QStringLiteral("z")));
        EXPECT_FALSE(client.Pending()) << "its service is gone";
        ASSERT_EQ(answers.Formulas.size(), before + 1) << "told at once";
        EXPECT_EQ(answers.Formulas.back().Status, TTypesetFormula::TStatus::Unavailable);
    }
}

// Once the application object has ended the shared service it stays ended:
// a request is told so at once, one still in its pause when its pause ends,
// and no service starts again.
TEST(TypesetService, TheSharedServiceOnceStoppedStaysStopped) {
    TTypesetClient client, pausing;
    TAnswers answers(client), paused(pausing);
    client.Request(Formula(QStringLiteral("y")));
    ASSERT_TRUE(WaitFor([&] { return !answers.Formulas.empty(); }, kPatience));
    pausing.Request(Formula(QStringLiteral("y")), 50);
    TTypesetService::StopShared();
    client.Request(Formula(QStringLiteral("z")));
    EXPECT_FALSE(client.Pending());
    EXPECT_EQ(TTypesetService::Shared(), nullptr);
    ASSERT_EQ(answers.Formulas.size(), 2u);
    EXPECT_EQ(answers.Formulas[1].Status, TTypesetFormula::TStatus::Unavailable);
    EXPECT_EQ(answers.Formulas[1].Message, QStringLiteral("Набор формул остановлен"));
    ASSERT_TRUE(WaitFor([&] { return !paused.Formulas.empty(); }));
    EXPECT_EQ(paused.Formulas[0].Status, TTypesetFormula::TStatus::Unavailable);
}

// Over all pixels, 0 for the same coverage everywhere, 1 for opposite.
double MeanAlphaDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y)));
    return sum / (255.0 * a.width() * a.height());
}

// Drawn smaller, not scaled afterwards: at the screen's ratio, with the
// pixels the smaller size needs, down to the least scale asked for.
TEST(TypesetService, DrawsAWideFormulaSmallerToFitItsBox) {
    const struct {
        QSizeF box;
        qreal minScale, ratio;
    } rows[] = {{{4000, 400}, 0.5, 1}, // roomy
                {{200, 400}, 0.1, 2},
                {{50, 400}, 0.5, 1}, // narrower than half the formula
                {{4000, 20}, 0.1, 1}};
    TTypesetService service;
    TTypesetClient client(nullptr, &service);
    TAnswers answers(client);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box.width());
        TTypesetRequest request = Formula(LongFormula(8));
        request.DevicePixelRatio = row.ratio;
        answers.Formulas.clear();
        client.Request(request);
        ASSERT_TRUE(WaitFor([&] { return answers.Formulas.size() == 1; }, kPatience));
        request.FitInto = row.box;
        request.MinScale = row.minScale;
        client.Request(request);
        ASSERT_TRUE(WaitFor([&] { return answers.Formulas.size() == 2; }, kPatience));
        const TTypesetFormula& natural = answers.Formulas[0];
        const TTypesetFormula& fitted = answers.Formulas[1];
        ASSERT_TRUE(natural.Ok() && fitted.Ok());
        EXPECT_EQ(natural.Scale, 1);
        const qreal expected = std::clamp(std::min(row.box.width() / natural.Size.width(),
                                                   row.box.height() / natural.Size.height()),
                                          row.minScale, qreal(1));
        EXPECT_NEAR(fitted.Scale, expected, 1e-9);
        EXPECT_EQ(fitted.Image.devicePixelRatio(), row.ratio);
        EXPECT_NEAR(fitted.Size.width(), natural.Size.width() * expected, 1);
        EXPECT_NEAR(fitted.Image.width(), natural.Image.width() * expected, 1);
        // The same drawing, smaller: like the full-size picture shrunk.
        const QImage shrunk = natural.Image.scaled(fitted.Image.size(), Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation);
        EXPECT_LT(MeanAlphaDifference(shrunk, fitted.Image), 0.06);
        if (expected > row.minScale) {
            EXPECT_LE(fitted.Size.width(), row.box.width() + 1);
        }
    }
}

} // namespace
