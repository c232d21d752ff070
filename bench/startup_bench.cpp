// Start-up time to the first shown main window. Runs the program's own
// start-up steps in the program's order and quits as soon as the main
// window has painted its first frame. Prints
//   main <ms>      from entry into main() to the first frame;
//   frame_ns <ns>  the wall clock (CLOCK_REALTIME) at the first frame, from
//                  which run-benchmarks.sh measures the time since it
//                  started the process, dynamic loading included.
// Exits 1 when no frame arrives within ten seconds.
#include "app/Startup.h"
#include "app/shell/Application.h"
#include "engine/FloatEnv.h"
#include "quiz/Form1.h"

#include <QEvent>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <ctime>

using namespace formulon::engine;

namespace {

using Clock = std::chrono::steady_clock;

long long RealtimeNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

class TFirstFrame : public QObject {
public:
    explicit TFirstFrame(Clock::time_point entry) : entry_(entry) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint) {
            done_ = true;
            // Let this paint finish, then stop the clock and leave.
            QTimer::singleShot(0, [this] {
                const double main =
                    std::chrono::duration<double, std::milli>(Clock::now() - entry_).count();
                std::printf("main %.2f\nframe_ns %lld\n", main, RealtimeNanoseconds());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Clock::time_point entry_;
    bool done_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    const Clock::time_point entry = Clock::now();
    // The same steps as the program's main(), in the same order.
    InitFloatingPointEnvironment();
    TApplication app(argc, argv);
    PrepareApplication(app);
    CreateWindows();
    TFirstFrame firstFrame(entry);
    Form1->installEventFilter(&firstFrame);
    Form1->show();
    QTimer::singleShot(10000, [] {
        std::fprintf(stderr, "no frame of the main window within 10 s\n");
        QCoreApplication::exit(1);
    });
    return app.exec();
}
