// Helpers for the tests of the champions file on disk.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

#include <sys/types.h>

QByteArray ReadAll(const QString& path);
bool WriteAll(const QString& path, const QByteArray& bytes);

// The lstat mode and group; 0 when nothing is there.
mode_t Mode(const QString& path);
gid_t Group(const QString& path);

// Makes a socket at the path (a Unix socket bound there).
bool MakeSocket(const QByteArray& path);

// Sets a path's time stamps this many seconds into the past.
bool Age(const QString& path, int seconds);

// The folder's entries, hidden ones included, sorted, joined with '|'.
std::string Entries(const QString& folder);

// The ranking's places of a file's bytes as "name:time ...", or "invalid"
// when the file fails its check.
std::string FileRanking(const QByteArray& bytes);

// How the save helper runs.
struct THelperRun {
    QString table;             // a class table (HELPER_TABLE)
    QByteArray dataHome;       // XDG_DATA_HOME's bytes; empty: <home>/share
    bool ordinaryUser = false; // user 65534 when the tests run as root
    QString groups;            // that user's extra groups ("4242")
    QString folder;            // its current folder
};

// Another copy of the program holding the lock of home's data folder, or
// of the class table when one is given, until it goes.
class TLockHolder {
public:
    explicit TLockHolder(const QString& home, const QString& table = {});
    ~TLockHolder() { Release(); }
    void Release();
    qint64 Pid() const;

private:
    QProcess process_;
};

// Runs the save helper for home and returns its output's lines.
QStringList RunHelper(const QString& home, const QStringList& command, const THelperRun& how = {});

// Whether permission cases can run: as an ordinary user, or as root with
// setpriv to become one.
bool CanRunAsOrdinaryUser();
