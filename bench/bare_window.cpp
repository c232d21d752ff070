// The baseline the program's start-up is measured against: the least a Qt
// Widgets program does to show a window, one label, which quits once that
// label has painted its first frame. Prints the same lines as
// formulon-startup-bench, so the script reads both alike:
//   main <ms>      from entry into main() to the first frame;
//   frame_ns <ns>  the wall clock (CLOCK_REALTIME) at the first frame.
// The process ends there and then, as formulon-startup-bench's does, so the
// two are measured alike. Exits 1 when no frame arrives within ten seconds.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;

class TFirstFrame : public QObject {
public:
    explicit TFirstFrame(Clock::time_point entry) : entry_(entry) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Paint) {
            done_ = true;
            // Once this frame is out, stop the clock and end at once.
            QTimer::singleShot(0, [this] {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                std::printf(
                    "main %.2f\nframe_ns %lld\n",
                    std::chrono::duration<double, std::milli>(Clock::now() - entry_).count(),
                    now.tv_sec * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                std::_Exit(0);
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
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Formulon"));
    TFirstFrame firstFrame(entry);
    label.installEventFilter(&firstFrame);
    label.show();
    QTimer::singleShot(10000, [] {
        std::fprintf(stderr, "no frame of the window within 10 s\n");
        QCoreApplication::exit(1);
    });
    return app.exec();
}
