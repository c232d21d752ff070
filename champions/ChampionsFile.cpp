#include "champions/ChampionsFile.h"

#include "app/shell/MessageBoxes.h"
#include "champions/core/ChampionTable.h"
#include "engine/Errors.h"
#include "engine/IntegerText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace formulon::engine;

namespace {

constexpr int kRecordSize = kChampionRecordSize;

// The old runtime's input/output error for a system error number.
[[noreturn]] void RaiseInOutError(int code) {
    switch (code) {
    case EACCES:
    case EPERM:
    case EROFS:
        throw EInOutError("File access denied", 5);
    case ENOSPC:
        throw EInOutError("Disk full", 101);
    default:
        throw EInOutError("I/O error " + IntToStr(code), code);
    }
}

[[noreturn]] void RaiseReadBeyondEnd() {
    throw EInOutError("Read beyond end of file", 100);
}

// Closes a descriptor when the load leaves, normally or by an error.
struct TDescriptor {
    int fd;
    ~TDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

void ReadRecord(int fd, void* record) {
    auto* bytes = static_cast<char*>(record);
    std::size_t done = 0;
    while (done < kRecordSize) {
        const ssize_t n = ::read(fd, bytes + done, kRecordSize - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseInOutError(errno);
        }
        if (n == 0)
            RaiseReadBeyondEnd();
        done += static_cast<std::size_t>(n);
    }
}

const QString kChangedText = QStringLiteral("Файл рекордов был изменён.\rРезультаты обновлены.");

} // namespace

QString ChampionsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/.camp.cam");
}

QByteArray ChampionsFileBytes() {
    return QByteArray::fromStdString(EncodeChampionsFile());
}

TChampionsLoad LoadChampions() {
    const QString path = ChampionsFilePath();
    const QFileInfo info(path);
    bool valid = false;
    TChampionsLoad outcome = TChampionsLoad::Loaded;
    if (!info.exists()) {
        // No file yet: an empty ranking, no message.
        EmptyRanking();
        valid = true;
        outcome = TChampionsLoad::NoFile;
    } else if (info.size() == kChampionsFileSize) {
        // Opened for reading and writing, so a read-only file fails.
        const QByteArray native = QFile::encodeName(path);
        TDescriptor file{::open(native.constData(), O_RDWR)};
        if (file.fd < 0)
            RaiseInOutError(errno);
        std::string bytes(kChampionsFileSize, '\0');
        for (int record = 0; record < kChampionsFileRecords; ++record)
            ReadRecord(file.fd, bytes.data() + record * kRecordSize);
        valid = DecodeChampionsFile(bytes);
    }
    if (!valid) {
        // A changed or damaged file.
        ShowInformationBox(kChangedText);
        EmptyRanking();
        outcome = TChampionsLoad::Changed;
    }
    SortChampions();
    return outcome;
}

void SaveChampions() {
    const QString path = ChampionsFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = ChampionsFileBytes();
    // Atomic replace: the old file stays whole until the new one is complete.
    QSaveFile file(path);
    errno = 0;
    // Unbuffered: a buffered QSaveFile can commit a file cut short when the
    // flush inside commit() fails, so every byte is written and checked here.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        RaiseInOutError(errno ? errno : EIO);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int code = errno ? errno : EIO;
        file.cancelWriting();
        RaiseInOutError(code);
    }
    errno = 0;
    if (!file.commit())
        RaiseInOutError(errno ? errno : EIO);
    // Hidden by its dot name; readable and writable by its owner only.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
