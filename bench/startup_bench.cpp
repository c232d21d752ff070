// Start-up time to the first shown main window. Runs the program's own
// start (RunProgram, as its main() does, with a fresh user's champions file
// in the caller's environment) and ends the process as soon as the main
// window has painted its first frame. Prints
//   main <ms>      from entry into main() to the first frame;
//   frame_ns <ns>  the wall clock (CLOCK_REALTIME) at the first frame, from
//                  which run-benchmarks.sh measures the time since it
//                  started the process, dynamic loading included.
// With "--explain N" it then checks N answers to task 1 (the first y^1/2,
// the last ones of the length of task 10's formulas) and opens "Разбор
// ответа" from the verdict window twice after each, printing
//   explain_<kind> <ms> formula <ms>   from the request to the window's
//                  first whole frame, and to the typeset answer shown (or
//                  refused); kind: first (typesetter loaded with it), new
//                  (a newly checked answer), again (the same answer again),
//                  task10_new, task10_again (an answer as long as task 10's);
//   peak_kb <kB>   the process's peak resident memory (VmHWM) at the end.
// With "--explain-long" (after those, when both are given) it checks the
// eight longest answers the answer box takes (bench/LongAnswers.h) and opens
// the window once after each, printing explain_long<k> <ms> formula <ms>
// and peak_kb.
// With "--practice" (after those) it measures "Тренировка" (PracticeBench.h).
// Exits 1 when no frame arrives within ten seconds.
#include "app/Application.h"
#include "app/ErrorBox.h"
#include "app/Startup.h"
#include "bench/LongAnswers.h"
#include "bench/Measures.h"
#include "bench/PracticeBench.h"
#include "engine/FloatEnv.h"
#include "quiz/ExplainFrm.h"
#include "quiz/ExplanationView.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "typeset/FormulaView.h"
#include "ui/MessageBoxes.h"
#include "ui/Modules.h"

#include <QEvent>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <string>

using namespace formulon::engine;

namespace {

long long RealtimeNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Opens the explanation and closes it once it has painted its first whole
// frame and the typeset answer is in, noting both times.
class TExplainFrame : public QObject {
public:
    TExplainFrame() { ExplainFrm->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The controls come with the first opening.
        if (!connected_ && ExplainFrm->View1 != nullptr) {
            connected_ = true;
            connect(ExplainFrm->View1->Formula1, &TFormulaView::finished, this, [this] {
                formula_ = MillisecondsSince(start_);
                CloseWhenDone();
            });
        }
        if (frame_ < 0 && event->type() == QEvent::Paint)
            // After the whole window has painted, children included.
            QTimer::singleShot(0, ExplainFrm, [this] {
                frame_ = MillisecondsSince(start_);
                CloseWhenDone();
            });
        return QObject::eventFilter(watched, event);
    }
    void Open(const std::string& kind) {
        kind_ = kind;
        frame_ = formula_ = -1;
        start_ = Clock::now();
        emit Form2->explainRequested();
    }

private:
    void CloseWhenDone() {
        if (frame_ < 0 || !ExplainFrm->isVisible())
            return;
        if (formula_ < 0 &&
            ExplainFrm->View1->Formula1->State() == TFormulaView::TState::Typesetting)
            return;
        std::printf("explain_%s %.2f formula %.2f\n", kind_.c_str(), frame_,
                    formula_ < 0 ? frame_ : formula_);
        ExplainFrm->reject();
    }

    std::string kind_;
    bool connected_ = false;
    double frame_ = -1, formula_ = -1;
    Clock::time_point start_;
};

void Check(const std::string& answer) {
    Form1->Edit1->setText(QString::fromStdString(answer));
    Form1->Button1->click();
}

void StartOnTask1() {
    CreateOtherWindows(); // the first check would, but the watcher needs them now
    Form1->Button4->click();
    Form1->Edit3->setText(QStringLiteral("1"));
    Form1->Edit4->setText(QStringLiteral("1"));
    Form1->Button5->click();
}

// The first opening loads the typesetter; then each answer is opened twice,
// once after its check and once more.
void CheckAndExplain(int answers) {
    static const char* const kAnswers[] = {
        "y^1/2",
        "sin(y-z)",
        "(y)^(1/2)",
        "abs(3*exp(y-2)-sin(y^2-4*z))",
        "tan((y^3-5)^0.5+log(25-2*z))",
        "-atn((z^2+y^3)^(1/2))+abs(tan(3*y^5+5))",
        "(abs(tan(3*sin(3*y-z)^2+exp(z^(-2)))^exp((y^0.5-3)^2)))^(1/2)/(7.03*sin((y-z)^3-(y+z)^2))"
        "-5.63",
        "(5*sin(cos(tan(log(y^2+z^4+10))^4)^3)^2)/abs(tan(sin(y^2+cos(z+4^(exp(-y+4)))))^2)"};
    constexpr int kTask10 = 6; // the answers from here on are as long as task 10's
    StartOnTask1();
    TExplainFrame frame;
    for (int i = 0; i < answers; ++i) {
        const int which = i % static_cast<int>(std::size(kAnswers));
        Check(kAnswers[which]);
        const std::string kind = i == 0 ? "first" : which >= kTask10 ? "task10_new" : "new";
        frame.Open(kind);
        frame.Open(which >= kTask10 ? "task10_again" : "again");
    }
    std::printf("peak_kb %ld\n", PeakResidentKb());
}

// The longest answers: some raise an error, which the box would show; the
// window explains them all the same.
void CheckAndExplainLong() {
    SetErrorBoxPresenter([](const QString&, const QString&) {});
    StartOnTask1();
    TExplainFrame frame;
    for (int kind = 0; kind < bench::kLongAnswerKinds; ++kind) {
        Check(bench::LongAnswer(kind));
        frame.Open("long" + std::to_string(kind));
    }
    std::printf("peak_kb %ld\n", PeakResidentKb());
}

class TFirstFrame : public QObject {
public:
    TFirstFrame(Clock::time_point entry, QTimer* watchdog, int explanations, bool longAnswers,
                bool practice)
        : entry_(entry), watchdog_(watchdog), explanations_(explanations),
          longAnswers_(longAnswers), practice_(practice) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint) {
            done_ = true;
            // The measures after it may take longer.
            watchdog_->stop();
            // Once this frame is out, stop the clock. Without explanations
            // or practice the process ends at once, before anything the
            // program does after its first frame, as the bare window's does.
            QTimer::singleShot(0, [this] {
                std::printf("main %.2f\nframe_ns %lld\n", MillisecondsSince(entry_),
                            RealtimeNanoseconds());
                std::fflush(stdout);
                if (explanations_ == 0 && !longAnswers_ && !practice_)
                    std::_Exit(0);
                if (explanations_ > 0)
                    CheckAndExplain(explanations_);
                if (longAnswers_)
                    CheckAndExplainLong();
                if (practice_)
                    MeasurePractice();
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Clock::time_point entry_;
    QTimer* watchdog_;
    int explanations_;
    bool longAnswers_;
    bool practice_;
    bool done_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    const Clock::time_point entry = Clock::now();
    int explanations = 0;
    bool longAnswers = false;
    bool practice = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--explain") == 0 && i + 1 < argc)
            explanations = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--explain-long") == 0)
            longAnswers = true;
        else if (std::strcmp(argv[i], "--practice") == 0)
            practice = true;
    }
    // The program's own start, as its main() runs it, without the
    // benchmark's arguments.
    int programArgc = 1;
    InitFloatingPointEnvironment();
    TApplication app(programArgc, argv);
    AddModuleFolder(QStringLiteral(FORMULON_MATHJAX_BUILD_DIR));
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        std::fprintf(stderr, "no frame of the main window within 10 s\n");
        QCoreApplication::exit(1);
    });
    watchdog.start(10000);
    TFirstFrame firstFrame(entry, &watchdog, explanations, longAnswers, practice);
    return RunProgram(app, programArgc, argv, [&firstFrame] {
        // Installed last, so it sees the first frame before the program's
        // own watchers do.
        Form1->installEventFilter(&firstFrame);
    });
}
