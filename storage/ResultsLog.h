// The results log a teacher may set up: every check of the class's games
// appended as one line to a file the teacher made. The log holds right
// answers, so no pupil may read it: the program never creates, reads or
// replaces it, and appends only while it is a plain file that someone else
// owns and that neither the pupil's group nor others may read (a file of
// mode 0620, the teacher's, in the pupils' group, is the usual one). Each
// line goes out in one write under the kernel's lock on the file itself, so
// copies of the program on several machines never cut one another's lines.
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

// How long one line waits for another copy's lock, and how long the end of
// the program waits for the lines still queued.
inline constexpr std::chrono::milliseconds kResultsLockPatience{2000};
inline constexpr std::chrono::milliseconds kResultsExitPatience{3000};

// Appends one line (its line end included) to the log at `path` on the
// calling thread, as the log's rules allow. An empty text when the line is
// in the file whole; otherwise why nothing of it is (in Russian), the
// file left as it was.
QString AppendResultsLine(const QByteArray& path, const QByteArray& line,
                          std::chrono::milliseconds lockPatience = kResultsLockPatience);

// The log's lines written in order by a thread of their own, so that a slow
// disk or a held lock never stops the game.
class TResultsLog {
public:
    explicit TResultsLog(QByteArray path);
    ~TResultsLog(); // Finish(kResultsExitPatience)
    TResultsLog(const TResultsLog&) = delete;
    TResultsLog& operator=(const TResultsLog&) = delete;

    const QByteArray& Path() const;

    // Queues a line; never waits for the disk.
    void Append(QByteArray line);

    // Called on the writing thread with the first line's failure, once per
    // log; it must only hand the text on (a queued call, say).
    void SetFailureHandler(std::function<void(const QString&)> handler);

    // Writes what is queued, waiting at most `patience`; lines still queued
    // then are given up, and no handler is called any more. True when every
    // line was tried.
    bool Finish(std::chrono::milliseconds patience = kResultsExitPatience);

private:
    struct TState;
    std::shared_ptr<TState> state_;
};
