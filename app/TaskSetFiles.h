// Task set files as start-up finds them: the one the quiz plays (--tasks,
// the setting TaskSet) and those installed for practice, in
// $XDG_DATA_DIRS/formulon/tasks/ and $XDG_DATA_HOME/Formulon/tasks/.
#pragma once

#include "quiz/core/TaskSet.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The set in the file at 'path', read whole, or refused: a file that is
// not a plain file or cannot be read is refused too, never waited on.
TTaskSetReading ReadTaskSetFile(const QByteArray& path);

// What the pupil is told of a set refused: the file, the line, why.
QString RefusalText(const QByteArray& path, const TTaskSetRefusal& refusal);

// The folders holding installed sets, the user's first.
QStringList TaskSetFolders();

// The standard set, then every set of the folders in name order (a name
// met in an earlier folder hides a later one's, so progress kept by name
// is one set's). A file refused is left out and its RefusalText added to
// 'refusals'.
std::vector<std::shared_ptr<const TTaskSet>>
InstalledTaskSets(QStringList* refusals, const QStringList& folders = TaskSetFolders());
