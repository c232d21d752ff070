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

// Writes the file atomically; raises EInOutError on failure.
void SaveChampions();
