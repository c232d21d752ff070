// The class table a teacher may name: `--table PATH` for one run, or the
// setting ChampionsFile (QSettings, Formulon/Formulon.conf in the XDG
// configuration folders: /etc/xdg for the machine, the user's own file
// overriding it). Without either the program uses the personal file.
#pragma once

#include <QByteArray>
#include <QString>

struct TCommandLine {
    QByteArray table; // as given, bytes; empty: none
    QString error;    // why the arguments were refused
};

// Whether the arguments ask for the usage text (--help or -h).
bool AsksForHelp(int argc, const char* const* argv);

// The program's own arguments, argv[1..] (Qt has taken its own by then).
TCommandLine ParseCommandLine(int argc, const char* const* argv);

// What --help prints.
QString UsageText();

// The class table's absolute path (a relative --table is taken from the
// current folder), or empty for the personal file. A setting that is not an
// absolute path is refused: `problem` says so and no class table is used.
QByteArray ChooseClassTable(const TCommandLine& commandLine, QString* problem);
