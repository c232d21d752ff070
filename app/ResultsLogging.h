// The results log as a run uses it, when a teacher set one up (--results
// or ResultsFile): each check of the quiz and of practice becomes a line of
// the log, written off the user-interface thread. A line that cannot be
// written never stops the game: the first failure of the run is told once,
// in a box shown only when the pupil is back in the main window, never
// between a check and its verdict.
#pragma once

#include "ui/MessageBoxes.h"

#include <QByteArray>

class QWidget;
class TGameSession;
struct TCheckRecord;

// Starts the log at `path` (an empty path: no log, and nothing anywhere
// changes) for the quiz's session; `mainWindow` is where failures are told.
void StartResultsLog(const QByteArray& path, const TGameSession& session, QWidget* mainWindow);

// The quiz's last check, `clock` being the game's time as it was asked
// for; a check of practice. Nothing without a log.
void LogQuizCheck(int clock);
void LogPracticeCheck(const TCheckRecord& check);

// The end of the run: the lines queued are written, or given up past
// kResultsExitPatience. True when none was given up.
bool FinishResultsLog();

// Test seams: how the failure's box is shown (empty: the real box); a
// failure has reached this thread and waits to be told.
void SetResultsNoticePresenter(TMessagePresenter presenter);
bool ResultsFailureWaiting();
