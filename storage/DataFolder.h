// The user's data folder, where the program keeps its personal files (the
// champions file, practice's progress). Paths are bytes, used exactly as
// the environment gives them.
#pragma once

#include <QByteArray>

// <data home>/Formulon for the environment's XDG_DATA_HOME and HOME: a
// relative XDG_DATA_HOME counts as unset, so the folder never depends on
// where the program was started.
QByteArray DataFolderFor(const QByteArray& xdgDataHome, const QByteArray& home);

// This user's data folder (in QStandardPaths' test mode, its folder).
QByteArray PersonalDataFolder();
