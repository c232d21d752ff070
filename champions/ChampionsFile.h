// The champions file: 17 records of 512 bytes, the last one the
// checksum record, at <AppDataLocation>/.camp.cam.
#pragma once

#include <QByteArray>
#include <QString>

inline constexpr qint64 kChampionsFileSize = 17 * 512;

// The file's path; the folder is not created here.
QString ChampionsFilePath();

// The 8704 bytes SaveChampions writes for the current table.
QByteArray ChampionsFileBytes();

// Reads and validates the file into ChampionTable, sorts, enables
// Form1->Timer2 (when Form1 exists). Raises EConvertError / EInOutError.
void LoadChampions();

// Writes the file atomically; raises EInOutError on failure.
void SaveChampions();
