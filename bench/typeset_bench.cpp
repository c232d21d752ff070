// The formula typesetter's costs: loading the MathJax script on the first
// formula, then each formula on its own, for the thirty task pictures' TeX in
// quiz/core/tasks/standard.tasks at the size of the task pictures (18 px per em),
// at pixel ratio 1 and 2. Prints
//   load_ms <ms>            first formula, the script's loading included;
//   formula_ms <ratio> median <ms> max <ms>   over 5 rounds of all 30;
//   again_ms <ms>           the last formula once more (kept, only drawn);
//   short_ms median <ms> max <ms>   \frac{y^{k}}{2}, k = 1 to 20;
//   rss_mb before <MB> loaded <MB> end <MB>   resident memory.
// Exits 1 when a task formula cannot be typeset.
#include "bench/Measures.h"
#include "quiz/core/TaskTables.h"
#include "typeset/MathTypesetter.h"
#include "ui/Modules.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr qreal kTaskPictureEm = 18;
constexpr int kRounds = 5;

// The task pictures' TeX, in the table's order.
QStringList TaskFormulas() {
    QStringList formulas;
    for (const TTaskRow& row : kStandardTasks)
        formulas << QString::fromUtf8(row.Tex.data(), static_cast<qsizetype>(row.Tex.size()));
    return formulas;
}

double ResidentMegabytes() {
    const long kb = StatusKb("VmRSS:");
    return kb < 0 ? 0 : kb / 1024.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    RunJavaScriptInterpreted(); // as the program runs MathJax
    QGuiApplication app(argc, argv);
    AddModuleFolder(QStringLiteral(FORMULON_MATHJAX_BUILD_DIR));
    const QStringList formulas = TaskFormulas();
    const double before = ResidentMegabytes();
    TMathTypesetter typesetter;
    QElapsedTimer clock;
    clock.start();
    if (!typesetter.Typeset(formulas.first(), kTaskPictureEm).Ok())
        return 1;
    std::printf("load_ms %.1f\n", clock.nsecsElapsed() / 1e6);
    const double loaded = ResidentMegabytes();

    for (const qreal ratio : {1.0, 2.0}) {
        std::vector<double> times;
        for (int round = 0; round < kRounds; ++round) {
            for (const QString& formula : formulas) {
                clock.restart();
                const TTypesetFormula result = typesetter.Typeset(formula, kTaskPictureEm, ratio);
                times.push_back(clock.nsecsElapsed() / 1e6);
                if (!result.Ok()) {
                    std::fprintf(stderr, "%s: %s\n", qPrintable(formula),
                                 qPrintable(result.Message));
                    return 1;
                }
            }
        }
        std::printf("formula_ms %.0f median %.1f max %.1f\n", ratio, Median(times),
                    *std::max_element(times.begin(), times.end()));
    }
    // The window opened again on the same answer: MathJax's output is kept.
    clock.restart();
    typesetter.Typeset(formulas.last(), kTaskPictureEm, 2.0);
    std::printf("again_ms %.2f\n", clock.nsecsElapsed() / 1e6);
    // A short answer, y^1/2 as the pupil reads it, with a new exponent each
    // time so that no output is reused.
    std::vector<double> shortTimes;
    for (int exponent = 1; exponent <= 20; ++exponent) {
        clock.restart();
        typesetter.Typeset(QStringLiteral("\\frac{y^{%1}}{2}").arg(exponent), kTaskPictureEm);
        shortTimes.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("short_ms median %.1f max %.1f\n", Median(shortTimes),
                *std::max_element(shortTimes.begin(), shortTimes.end()));
    std::printf("rss_mb before %.1f loaded %.1f end %.1f\n", before, loaded, ResidentMegabytes());
    return 0;
}
