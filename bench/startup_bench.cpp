// Start-up time to the first shown main window. Runs the program's own
// start (RunProgram, as its main() does, with a fresh user's champions file
// in the caller's environment) and ends the process as soon as the main
// window has painted its first frame. Prints
//   main <ms>      from entry into main() to the first frame;
//   frame_ns <ns>  the wall clock (CLOCK_REALTIME) at the first frame, from
//                  which run-benchmarks.sh measures the time since it
//                  started the process, dynamic loading included.
// With "--explain N" it then checks N answers to task 1 (the first y^1/2)
// and opens "Разбор ответа" from the verdict window twice after each,
// printing
//   explain_first, explain_new, explain_again <ms>   from the request to the
//                  window's first whole frame: the first opening (typesetter
//                  loaded), a newly checked answer, the same answer again;
//   peak_kb <kB>   the process's peak resident memory (VmHWM) at the end.
// Exits 1 when no frame arrives within ten seconds.
#include "app/Startup.h"
#include "app/shell/Application.h"
#include "app/shell/MathJaxModule.h"
#include "engine/FloatEnv.h"
#include "quiz/ExplainFrm.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"

#include <QEvent>
#include <QFile>
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

using Clock = std::chrono::steady_clock;

long long RealtimeNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long PeakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Closes the explanation once it has painted, noting the time.
class TExplainFrame : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (waiting_ && event->type() == QEvent::Paint) {
            waiting_ = false;
            // After the whole window has painted, children included.
            QTimer::singleShot(0, ExplainFrm, [this] {
                std::printf("explain_%s %.2f\n", kind_, MillisecondsSince(start_));
                ExplainFrm->reject();
            });
        }
        return QObject::eventFilter(watched, event);
    }
    void Open(const char* kind) {
        kind_ = kind;
        waiting_ = true;
        start_ = Clock::now();
        emit Form2->explainRequested();
    }

private:
    const char* kind_ = "";
    bool waiting_ = false;
    Clock::time_point start_;
};

void Check(const char* answer) {
    Form1->Edit1->setText(QString::fromLatin1(answer));
    Form1->Button1->click();
}

// The first opening loads the typesetter; then each answer is opened twice,
// once after its check and once more.
void CheckAndExplain(int answers) {
    static const char* const kAnswers[] = {"y^1/2",
                                           "sin(y-z)",
                                           "(y)^(1/2)",
                                           "abs(3*exp(y-2)-sin(y^2-4*z))",
                                           "tan((y^3-5)^0.5+log(25-2*z))",
                                           "-atn((z^2+y^3)^(1/2))+abs(tan(3*y^5+5))"};
    CreateOtherWindows(); // the first check would, but the filter below needs them now
    Form1->Button4->click();
    Form1->Edit3->setText(QStringLiteral("1"));
    Form1->Edit4->setText(QStringLiteral("1"));
    Form1->Button5->click();
    TExplainFrame frame;
    ExplainFrm->installEventFilter(&frame);
    for (int i = 0; i < answers; ++i) {
        Check(kAnswers[i % std::size(kAnswers)]);
        frame.Open(i == 0 ? "first" : "new");
        frame.Open("again");
    }
    std::printf("peak_kb %ld\n", PeakResidentKb());
}

class TFirstFrame : public QObject {
public:
    TFirstFrame(Clock::time_point entry, int explanations)
        : entry_(entry), explanations_(explanations) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint) {
            done_ = true;
            // Once this frame is out, stop the clock. Without explanations
            // the process ends at once, before anything the program does
            // after its first frame, as the bare window's does.
            QTimer::singleShot(0, [this] {
                std::printf("main %.2f\nframe_ns %lld\n", MillisecondsSince(entry_),
                            RealtimeNanoseconds());
                std::fflush(stdout);
                if (explanations_ == 0)
                    std::_Exit(0);
                CheckAndExplain(explanations_);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Clock::time_point entry_;
    int explanations_;
    bool done_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    const Clock::time_point entry = Clock::now();
    const int explanations =
        argc > 2 && std::strcmp(argv[1], "--explain") == 0 ? std::atoi(argv[2]) : 0;
    // The program's own start, as its main() runs it, without the
    // benchmark's arguments.
    int programArgc = 1;
    InitFloatingPointEnvironment();
    TApplication app(programArgc, argv);
    AddMathJaxModuleFolder(QStringLiteral(FORMULON_MATHJAX_BUILD_DIR));
    TFirstFrame firstFrame(entry, explanations);
    QTimer::singleShot(10000, [] {
        std::fprintf(stderr, "no frame of the main window within 10 s\n");
        QCoreApplication::exit(1);
    });
    return RunProgram(app, programArgc, argv, [&firstFrame] {
        // Installed last, so it sees the first frame before the program's
        // own watchers do.
        Form1->installEventFilter(&firstFrame);
    });
}
