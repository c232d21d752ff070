// The champions file: 17 records of 512 bytes, the last one the
// checksum record, at <AppDataLocation>/.camp.cam.
#pragma once

#include "champions/core/ChampionsBytes.h"

#include <QByteArray>
#include <QString>

// The file's path; the folder is not created here.
QString ChampionsFilePath();

// The 8704 bytes SaveChampions writes for the current table.
QByteArray ChampionsFileBytes();

// How a load that got through ended.
enum class TChampionsLoad {
    Loaded,  // the file's table
    NoFile,  // no file yet: an empty ranking
    Changed, // a changed or damaged file: reported, the ranking emptied
};

// Reads and validates the file into ChampionTable and sorts. Raises
// EConvertError / EInOutError, and then the load has no outcome.
TChampionsLoad LoadChampions();

// Writes the file atomically; raises EInOutError on failure. After a load
// that failed with an input/output error, the unread file is first kept
// as <path>.bak.
void SaveChampions();

// Puts bytes at path: a new file renamed over the path, so a link there is
// replaced and never followed; where the folder allows no new file, the
// plain file at the path is rewritten in place. Raises EInOutError with the
// failing call's error.
void WriteChampionsFile(const QString& path, const QByteArray& bytes);

// Removes the temporary files (<path>.XXXXXX) a save cut short left beside
// the file. Call it only while no other copy of the program can be saving.
void RemoveSaveLeftovers();
