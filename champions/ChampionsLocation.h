// Where the champions table lives: the personal file in the user's data
// folder, or a class table a teacher points every pupil's program at.
// Paths are bytes, used exactly as the environment or the caller gives them.
#pragma once

#include "storage/DataFolder.h"

#include <QByteArray>
#include <QString>

// From now on the champions file is the class table at path (absolute);
// an empty path goes back to the personal file.
void UseClassTable(const QByteArray& path);
bool UsesClassTable();

// From now on the champions are those of a teacher's task set: the file
// <name>.cam beside the standard file (or the class table), so times of
// different sets never mix; an empty name goes back to the standard set's.
void UseTaskSetTable(const QByteArray& setName);

// The champions file: the class table, or <data folder>/.camp.cam, or a
// set's file beside either.
QByteArray ChampionsFileNativePath();
// The same for the standard set, whatever set is played.
QByteArray StandardChampionsFileNativePath();

// The same path for showing and for Qt's file classes.
QString ChampionsFilePath();
