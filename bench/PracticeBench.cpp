#include "bench/PracticeBench.h"
#include "bench/Measures.h"

#include "app/Startup.h"
#include "quiz/Form1.h"
#include "quiz/PracticeChoice.h"
#include "quiz/PracticeFrm.h"
#include "quiz/core/Practice.h"
#include "quiz/core/TaskCatalogue.h"
#include "typeset/FormulaView.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Runs the event loop until the condition holds (or ten seconds pass).
void SpinUntil(const std::function<bool()>& condition) {
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(10);
    while (!condition() && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
}

void Spin(int milliseconds) {
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
    SpinUntil([until] { return Clock::now() >= until; });
}

// Notes when a widget has painted (a window: once the whole of it has).
class TPainted : public QObject {
public:
    explicit TPainted(std::function<QObject*()> target) : target_(std::move(target)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted && event->type() == QEvent::Paint && watched == target_())
            QTimer::singleShot(0, [this] { painted = true; });
        return QObject::eventFilter(watched, event);
    }
    bool painted = false;

private:
    std::function<QObject*()> target_;
};

// Ctrl+T in the main window, to the practice window's first whole frame;
// 'measure' runs while it is open, then it closes.
void Open(const char* kind, const std::function<void()>& measure) {
    TPainted painted([] { return PracticeFrm; });
    qApp->installEventFilter(&painted);
    const Clock::time_point start = Clock::now();
    QTimer::singleShot(0, [&] {
        SpinUntil([&] { return painted.painted; });
        std::printf("practice_open_%s %.2f\n", kind, MillisecondsSince(start));
        qApp->removeEventFilter(&painted);
        measure();
        PracticeFrm->reject();
    });
    Form1->N11->trigger();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// One key to the answer box, to its repaint.
double Key(QChar character) {
    TPainted painted([] { return PracticeFrm->Edit1; });
    PracticeFrm->Edit1->installEventFilter(&painted);
    const Clock::time_point start = Clock::now();
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
    QCoreApplication::sendEvent(PracticeFrm->Edit1, &press);
    QCoreApplication::sendEvent(PracticeFrm->Edit1, &release);
    SpinUntil([&] { return painted.painted; });
    return MillisecondsSince(start);
}

// The answer typed a key every 150 ms, then its preview waited for.
void TypeAnswer(int entry, const std::string& answer) {
    PracticeFrm->ListBox1->setCurrentRow(entry);
    bool requested = false, shown = false;
    Clock::time_point lastKey;
    const QMetaObject::Connection pause =
        QObject::connect(PracticeFrm->Timer1, &QTimer::timeout, [&] { requested = true; });
    const QMetaObject::Connection preview = QObject::connect(
        PracticeFrm->Formula1, &TFormulaView::finished, [&] { shown = requested; });
    std::vector<double> keys;
    for (const char c : answer) {
        Spin(150);
        requested = shown = false;
        lastKey = Clock::now();
        keys.push_back(Key(QLatin1Char(c)));
    }
    SpinUntil([&] { return shown; });
    const double previewMs = shown ? MillisecondsSince(lastKey) : -1;
    QObject::disconnect(pause);
    QObject::disconnect(preview);
    std::printf("practice_task%d.%d keys %zu key_max %.2f key_median %.2f preview %.2f\n",
                ReferenceFormulas.Row(entry).Task, ReferenceFormulas.Row(entry).Variant,
                keys.size(), *std::max_element(keys.begin(), keys.end()), Median(keys), previewMs);
}

} // namespace

void MeasurePractice() {
    // As the program does right after its first frame: the opening times
    // practice's window alone.
    CreateOtherWindows();
    Open("first", [] {
        // Answers as long as the tasks': each task's own formula, tasks 1
        // to 5 and task 10.
        for (int entry = 0; entry < ReferenceFormulas.EntryCount(); ++entry) {
            const TTaskRow& row = ReferenceFormulas.Row(entry);
            if (row.Task <= 5 || row.Task == ReferenceFormulas.TaskCount())
                TypeAnswer(entry, std::string(row.Formula));
        }
    });
    Open("again", [] {});
    std::printf("peak_kb %ld\n", PeakResidentKb());
}
