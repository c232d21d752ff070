#include "app/ChampionsSaving.h"
#include "app/ErrorBox.h"

#include "champions/ChampionsFile.h"
#include "champions/Form3.h"
#include "engine/Errors.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "quiz/core/GameSession.h"
#include "ui/Handler.h"
#include "ui/MessageBoxes.h"
#include "ui/TextCodec.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

using namespace formulon::engine;

namespace {

// How long a record's save is waited for on the user-interface thread.
constexpr int kQuickSave = 250;

const QString kWaitingText = QStringLiteral("Сохраняю рекорд… ждём другую копию Formulon");
const QString kClassTableNote = QStringLiteral(
    "Файл рекордов класса недоступен для чтения: попросите учителя открыть его для группы");

QString NotSavedText(const std::exception& error) {
    const auto* own = dynamic_cast<const Exception*>(&error);
    return QStringLiteral("Рекорд пока не сохранён: %1\rОн сохранится при следующем сохранении "
                          "или при выходе из программы.")
        .arg(own ? ErrorBoxText(own->Message()) : QString::fromLocal8Bit(error.what()));
}

} // namespace

// One save of the run's records as they were when it started.
struct TChampionsSaving::TJob {
    TRunRecords run = RunRecords;
    TChampionsSaved saved;
    bool reached = false;
    std::exception_ptr error;
    bool taken = false; // its outcome is in the table
};

namespace {

// Runs work on a thread of its own and waits for it here with the events
// going on (paint, timers, another start's request), but no input; raises
// what the work raised.
void RunWaiting(const std::function<void()>& work) {
    std::exception_ptr error;
    QEventLoop waiting;
    QThread* thread = QThread::create([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
    });
    QObject::connect(thread, &QThread::finished, &waiting, &QEventLoop::quit);
    thread->start();
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    delete thread;
    if (error)
        std::rethrow_exception(error);
}

// The save itself, touching no global the windows use.
QThread* SaveThread(const std::shared_ptr<TChampionsSaving::TJob>& job) {
    return QThread::create([job] {
        try {
            job->saved = WriteChampions(job->run, &job->reached);
        } catch (...) {
            job->error = std::current_exception();
        }
    });
}

} // namespace

TChampionsSaving::TChampionsSaving(TGameSession& session) : session_(session) {
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        stop_ = true;
        if (lateLoad_.joinable())
            lateLoad_.join();
    });
}

TChampionsSaving::~TChampionsSaving() {
    stop_ = true;
    if (lateLoad_.joinable())
        lateLoad_.join();
}

void TChampionsSaving::LoadAtStart() {
    try {
        // Read off this thread, so a second start gets its answer meanwhile.
        std::optional<std::string> bytes;
        RunWaiting([&bytes] { bytes = ReadChampionsFile(kLoadPatience); });
        ApplyChampionsFile(bytes);
    } catch (const ELockBusy&) {
        LoadLater();
        throw EReported(); // Timer2 waits for the table
    } catch (const ELockBroken&) {
        throw; // its message says who mends it
    } catch (const ENotAFile&) {
        throw;
    } catch (const EInOutError& error) {
        if (!UsesClassTable())
            throw;
        ShowException(error);
        ShowInformationBox(kClassTableNote);
        throw EReported();
    }
    if (const QString problem = ClassTableModeProblem(); !problem.isEmpty())
        ShowInformationBox(problem);
}

void TChampionsSaving::LoadLater() {
    session_.HoldRecordDecisions(true);
    lateLoad_ = std::thread([this] {
        auto result = std::make_shared<std::optional<std::string>>();
        std::exception_ptr error;
        for (;;) {
            try {
                *result = ReadChampionsFile(std::chrono::milliseconds(500));
                break;
            } catch (const ELockBusy&) {
                if (stop_)
                    return;
            } catch (...) {
                error = std::current_exception();
                break;
            }
        }
        QMetaObject::invokeMethod(this, [this, result, error] {
            RunProtected([&] {
                if (error)
                    std::rethrow_exception(error);
                ApplyChampionsFile(*result);
                Form1->Timer2->start();
            });
            TakeLateLoad();
        });
    });
}

void TChampionsSaving::TakeLateLoad() {
    if (lateLoad_.joinable())
        lateLoad_.join();
    if (const std::optional<TCheckOutcome> held = session_.DecideHeldRecord())
        RunProtected([&] { Form1->ShowDecidedRecord(*held); });
}

void TChampionsSaving::SaveRecord() {
    if (busy_)
        return; // the running save's end starts the next
    auto job = std::make_shared<TJob>();
    StartWaiting();
    QThread* thread = SaveThread(job);
    connect(thread, &QThread::finished, this, [this, job, thread] {
        thread->deleteLater();
        if (!job->taken)
            FinishRecord(*job);
    });
    thread->start();
    // A save that gets its lock at once ends as it did on this thread: the
    // windows only ever wait for another copy.
    if (thread->wait(QDeadlineTimer(kQuickSave)))
        FinishRecord(*job);
}

void TChampionsSaving::FinishRecord(TJob& job) {
    job.taken = true;
    Hold(false);
    if (!job.error) {
        TakeSaved(job.saved);
        emit saved();
        if (!RunRecords.AllSaved())
            SaveRecord(); // entered while this one ran
    } else {
        TakeFailedSave(job.run.Entered.size(), job.reached);
        try {
            std::rethrow_exception(job.error);
        } catch (const std::exception& error) {
            ShowInformationBox(NotSavedText(error));
        }
    }
    if (closeHeld_ && !busy_) {
        closeHeld_ = false;
        Form1->close();
    }
}

void TChampionsSaving::SaveAtExit() {
    // A win still waiting for the table goes to the file all the same: the
    // merge ranks it against the table on disk.
    session_.DecideHeldRecord();
    auto job = std::make_shared<TJob>();
    StartWaiting();
    RunWaiting([job] {
        try {
            job->saved = WriteChampions(job->run, &job->reached);
        } catch (...) {
            job->error = std::current_exception();
        }
    });
    Hold(false);
    closeHeld_ = false; // this close is the one that ends the program
    if (job->error) {
        TakeFailedSave(job->run.Entered.size(), job->reached);
        std::rethrow_exception(job->error);
    }
    TakeSaved(job->saved);
}

void TChampionsSaving::StartWaiting() {
    Hold(true);
    QTimer::singleShot(1000, this, [this, wait = ++waits_] {
        if (busy_ && wait == waits_)
            ShowNote();
    });
}

void TChampionsSaving::Hold(bool hold) {
    busy_ = hold;
    for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2)})
        if (window) {
            if (hold)
                window->installEventFilter(this);
            else
                window->removeEventFilter(this);
        }
    if (Form2)
        Form2->BitBtn1->setEnabled(!hold);
    Form1->Button4->setEnabled(!hold);
    Form1->N2->setEnabled(!hold);
    if (!hold && note_)
        note_->hide();
}

// In the window in front: the verdict window after a win, else the main one.
void TChampionsSaving::ShowNote() {
    QWidget* window = Form2 && Form2->isVisible() ? static_cast<QWidget*>(Form2) : Form1;
    if (!note_ || note_->parentWidget() != window) {
        delete note_;
        note_ = new QLabel(kWaitingText, window);
        note_->setAccessibleName(kWaitingText);
        note_->setWordWrap(true);
        note_->setAutoFillBackground(true);
    }
    note_->setGeometry(8, window->height() - 28, window->width() - 16, 24);
    note_->show();
    note_->raise();
}

bool TChampionsSaving::eventFilter(QObject* watched, QEvent* event) {
    if (busy_ && event->type() == QEvent::Close) {
        event->ignore();
        if (watched == Form1)
            closeHeld_ = true; // closed once the save ends
        return true;
    }
    return QObject::eventFilter(watched, event);
}
