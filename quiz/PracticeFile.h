// Practice's progress on disk: <data folder>/practice.txt, kept for the
// computer's user whatever champions file the quiz uses, and saved as
// safely as the champions file (under the folder's lock, merged with what
// another copy saved, replaced whole). It never touches the champions file.
#pragma once

#include "quiz/core/PracticeProgress.h"

#include <QByteArray>
#include <QString>

QByteArray PracticeFileNativePath();
QString PracticeFilePath();

struct TPracticeLoad {
    enum class TState {
        Loaded,
        NoFile,  // nothing there yet: a fresh start, nothing to say
        Damaged, // kept as Backup and replaced by a fresh start
    };
    TState State = TState::NoFile;
    TPracticeProgress Progress;
    QString Backup;
};

// Reads the file. One that was read whole and is not a progress file is
// kept as the next numbered backup (<file>.formulon-backup-N) and a fresh
// progress is saved in its place at once, so it is reported only once.
// Raises EInOutError when the file cannot be read (left as it is: a read
// error is not damage), or can be neither kept nor replaced.
TPracticeLoad LoadPracticeProgress();

// Saves 'ours' merged with the file as it is on disk now (a damaged file
// is kept as a backup first, never merged) and returns what was saved.
// Raises EInOutError, also when the file cannot be read; the file on disk
// then stays as it was.
TPracticeProgress SavePracticeProgress(const TPracticeProgress& ours);
