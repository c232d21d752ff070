#include "app/ResultsLogging.h"

#include "quiz/core/GameSession.h"
#include "storage/ResultsLog.h"
#include "teacher/ResultsLine.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::unique_ptr<TResultsLog> resultsLog;
const TGameSession* quiz = nullptr;
QPointer<QWidget> mainWindow;
QString pendingFailure; // the run's first failure, until it is told
bool failureTold = false;
TMessagePresenter noticePresenter;

std::string Login() {
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_name;
    return std::to_string(::getuid()); // a user the system cannot name
}

std::string Now() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate).toStdString();
}

void Append(const TCheckRecord& check, TResultsMode mode, int clock) {
    if (!resultsLog)
        return;
    static const std::string login = Login();
    const TResultsEntry entry{Now(), login, quiz->PlayerName(), mode, clock};
    resultsLog->Append(QByteArray::fromStdString(ResultsLine(entry, check)));
}

// Tells the failure when the main window is the one in front and no box is
// open; otherwise its next activation tries again.
void TellWhenBack() {
    if (failureTold || pendingFailure.isEmpty() || !mainWindow || !mainWindow->isVisible() ||
        QApplication::activeWindow() != mainWindow || QApplication::activeModalWidget())
        return;
    failureTold = true;
    ShowMessageBox(TBoxIcon::Warning, ApplicationTitle(),
                   pendingFailure +
                       QStringLiteral("\nИгра продолжается, но журнал результатов учителя "
                                      "неполон: скажите об этом учителю."),
                   noticePresenter);
}

class TBackInMainWindow : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Posted: the window's own activation handling runs first.
        if (event->type() == QEvent::WindowActivate)
            QTimer::singleShot(0, watched, &TellWhenBack);
        return false;
    }
};

} // namespace

void StartResultsLog(const QByteArray& path, const TGameSession& session, QWidget* window) {
    if (path.isEmpty())
        return;
    quiz = &session;
    mainWindow = window;
    window->installEventFilter(new TBackInMainWindow(window));
    resultsLog = std::make_unique<TResultsLog>(path);
    // Called on the writing thread: handed to the user-interface thread.
    resultsLog->SetFailureHandler([](const QString& failure) {
        QMetaObject::invokeMethod(
            qApp,
            [failure] {
                if (pendingFailure.isEmpty())
                    pendingFailure = failure;
                TellWhenBack();
            },
            Qt::QueuedConnection);
    });
}

void LogQuizCheck(int clock) {
    if (resultsLog && quiz->LastCheck())
        Append(*quiz->LastCheck(), TResultsMode::Quiz, clock);
}

void LogPracticeCheck(const TCheckRecord& check) {
    Append(check, TResultsMode::Practice, -1);
}

bool FinishResultsLog() {
    if (!resultsLog)
        return true;
    const bool done = resultsLog->Finish();
    resultsLog.reset();
    return done;
}

void SetResultsNoticePresenter(TMessagePresenter presenter) {
    noticePresenter = std::move(presenter);
}

bool ResultsFailureWaiting() {
    return !failureTold && !pendingFailure.isEmpty();
}
