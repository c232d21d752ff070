#include "tests/support/TestSupport.h"

#include "app/Application.h"
#include "quiz/Form1.h"

#include <QDir>
#include <QStandardPaths>

void CreateWindowsOnce() {
    if (!Form1)
        CreateWindows();
}

TBoxRecorder::TBoxRecorder() {
    SetErrorBoxPresenter([this](const QString& caption, const QString& text) {
        ErrorCaptions << caption;
        Errors << text;
    });
    SetInformationBoxPresenter([this](const QString& caption, const QString& text) {
        InformationCaptions << caption;
        Informations << text;
    });
    SetWarningBoxPresenter([this](const QString& caption, const QString& text) {
        WarningCaptions << caption;
        Warnings << text;
    });
}

TBoxRecorder::~TBoxRecorder() {
    SetErrorBoxPresenter({});
    SetInformationBoxPresenter({});
    SetWarningBoxPresenter({});
}

QString DataFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder;
}

#include <QDeadlineTimer>
#include <QTest>

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}
