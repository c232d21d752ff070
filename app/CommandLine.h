// The class table a teacher may name: `--table PATH` for one run, or the
// setting ChampionsFile (the [General] group of Formulon/Formulon.conf or
// Formulon.conf in the XDG configuration folders: the user's own,
// ~/.config, overriding the machine's, /etc/xdg or XDG_CONFIG_DIRS).
// Without either the program uses the personal file. The results log is
// named the same ways: `--results PATH`, or ResultsFile in the machine's
// settings only.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct TCommandLine {
    QByteArray table;   // as given, bytes; empty: none
    QByteArray results; // the same
    QByteArray tasks;   // --tasks FILE, a teacher's task set, the same
    QString error;      // why the arguments were refused
};

// Whether the arguments ask for the usage text (--help or -h).
bool AsksForHelp(int argc, const char* const* argv);

// The program's own arguments, argv[1..] (Qt has taken its own by then).
TCommandLine ParseCommandLine(int argc, const char* const* argv);

// What --help prints.
QString UsageText();

// The configuration folders, the user's first.
QStringList ConfigFolders();
// The machine's alone: a pupil's own settings never choose where results go.
QStringList MachineConfigFolders();

// The class table's absolute path (a relative --table is taken from the
// current folder), or empty for the personal file. A setting that is not an
// absolute path, or holds an unquoted comma or semicolon (the format would
// split or cut it), is refused, and a settings file that is not a plain
// file is skipped unread (a pipe there would block the start): `problem`
// says so, one line each.
QByteArray ChooseClassTable(const TCommandLine& commandLine, QString* problem,
                            const QStringList& configFolders = ConfigFolders());

// The task set file's absolute path: --tasks (from the current folder), or
// else the setting TaskSet, read and refused as ChampionsFile is; empty for
// the standard set.
QByteArray ChooseTaskSetFile(const TCommandLine& commandLine, QString* problem,
                             const QStringList& configFolders = ConfigFolders());

// The results log's absolute path: --results (a relative one from the
// current folder), else the setting ResultsFile of the machine's settings
// files, under the rules of ChooseClassTable; empty when there is none.
QByteArray ChooseResultsFile(const TCommandLine& commandLine, QString* problem,
                             const QStringList& machineFolders = MachineConfigFolders());
