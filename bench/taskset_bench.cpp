// A teacher's set of thirty variants loaded as the program loads one: its
// pictures typeset at the first load (MathJax not yet loaded, a fresh
// cache), then the same set again from the cache. Prints
//   first_load_ms <ms> typeset <n>   Load() to the last picture, all typeset;
//   ui_gap_ms max <ms>               the longest the user-interface thread went
//                                    without running a 10 ms timer meanwhile;
//   cached_load_ms <ms> typeset <n>  the second load, from the cache.
// The set is the standard table's thirty TeX texts; the ratio is the first
// argument (1 when none). Exits 1 when a picture is refused.
#include "quiz/core/TaskTables.h"
#include "typeset/TaskPictureSet.h"
#include "typeset/TypesetService.h"
#include "ui/Modules.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QStringList TaskFormulas() {
    QStringList formulas;
    for (const TTaskRow& row : kStandardTasks)
        formulas << QString::fromUtf8(row.Tex.data(), static_cast<qsizetype>(row.Tex.size()));
    return formulas;
}

// One load, timed; false when a picture was refused.
bool Load(const QStringList& texs, qreal ratio, double& ms, int& typeset, double& gap) {
    TTaskPictureSet set(texs, ratio);
    QEventLoop loop;
    bool refused = false;
    QObject::connect(&set, &TTaskPictureSet::completed, &loop, &QEventLoop::quit);
    QObject::connect(&set, &TTaskPictureSet::refused, &loop, [&](int, const QString& why) {
        std::fprintf(stderr, "refused: %s\n", qPrintable(why));
        refused = true;
        loop.quit();
    });
    QElapsedTimer clock, tick;
    QTimer heartbeat;
    heartbeat.setInterval(10);
    gap = 0;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        gap = std::max(gap, tick.nsecsElapsed() / 1e6);
        tick.restart();
    });
    clock.start();
    tick.start();
    heartbeat.start();
    set.Load();
    if (!set.Complete() && !refused)
        loop.exec();
    ms = clock.nsecsElapsed() / 1e6;
    typeset = set.Typeset();
    QThreadPool::globalInstance()->waitForDone();
    return !refused;
}

} // namespace

int main(int argc, char** argv) {
    RunJavaScriptInterpreted(); // as the program runs MathJax
    QGuiApplication app(argc, argv);
    AddModuleFolder(QStringLiteral(FORMULON_MATHJAX_BUILD_DIR));
    const qreal ratio = argc > 1 ? std::atof(argv[1]) : 1.0;
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    const QStringList texs = TaskFormulas();
    double ms = 0, gap = 0;
    int typeset = 0;
    if (!Load(texs, ratio, ms, typeset, gap))
        return 1;
    std::printf("first_load_ms %.1f typeset %d\nui_gap_ms max %.1f\n", ms, typeset, gap);
    if (!Load(texs, ratio, ms, typeset, gap))
        return 1;
    std::printf("cached_load_ms %.1f typeset %d\n", ms, typeset);
    TTypesetService::StopShared();
    return 0;
}
