// The champions file's load and saves as the windows meet them: a save
// waits for another copy's lock off the user-interface thread, so the
// windows stay alive; while it runs "Далее", "Начать" and closing are held
// back, and after a second the window in front says why. A load at start
// that finds the lock held past a second goes on in the background, and a
// game won meanwhile keeps its time until the table is read.
#pragma once

#include <QObject>

#include <atomic>
#include <thread>

class QLabel;
class TGameSession;

class TChampionsSaving : public QObject {
    Q_OBJECT
public:
    explicit TChampionsSaving(TGameSession& session);
    ~TChampionsSaving() override;

    // The load of the main window's creation. Raises what the load raises
    // (the error box); EReported when it was put off, or after a class
    // table's note followed the error box.
    void LoadAtStart();

    // A record was entered: saved now, without waiting here. A failure
    // keeps the records for the next save and says so.
    void SaveRecord();

    // The exit save, waited for here; raises as SaveChampions does.
    void SaveAtExit();

    bool Busy() const { return busy_; }

    // One save of the run's records as they were when it started.
    struct TJob;

signals:
    // The table is as a save wrote it: the windows show it.
    void saved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Holds the windows back, and after a second says why.
    void StartWaiting();
    void FinishRecord(TJob& job);
    void Hold(bool hold);
    void ShowNote();
    void LoadLater();
    void TakeLateLoad();

    TGameSession& session_;
    bool busy_ = false;
    bool closeHeld_ = false;
    int waits_ = 0; // the note is for the save that still waits
    QLabel* note_ = nullptr;
    std::thread lateLoad_;
    std::atomic<bool> stop_{false};
};
