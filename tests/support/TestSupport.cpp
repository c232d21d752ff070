#include "tests/support/TestSupport.h"

#include "app/ErrorBox.h"
#include "app/Startup.h"
#include "quiz/Form1.h"
#include "ui/Handler.h"
#include "ui/MessageBoxes.h"

#include <QDir>

#include <QStandardPaths>
#include <gtest/gtest.h>

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
    SetQuestionBoxPresenter([this](const QString& caption, const QString& text) {
        QuestionCaptions << caption;
        Questions << text;
        return QuestionAnswer;
    });
}

TBoxRecorder::~TBoxRecorder() {
    FailOnUnexpectedBoxes();
}

void FailOnUnexpectedBoxes() {
    const auto fail = [](const char* kind) {
        return [kind](const QString& caption, const QString& text) {
            ADD_FAILURE() << "unexpected " << kind << " box \"" << caption.toStdString()
                          << "\": " << text.toStdString();
        };
    };
    SetErrorBoxPresenter(fail("error"));
    SetInformationBoxPresenter(fail("information"));
    SetWarningBoxPresenter(fail("warning"));
    SetQuestionBoxPresenter([](const QString& caption, const QString& text) {
        ADD_FAILURE() << "unexpected question box \"" << caption.toStdString()
                      << "\": " << text.toStdString();
        return false;
    });
}

TRealBoxes::TRealBoxes() {
    SetErrorBoxPresenter({});
    SetInformationBoxPresenter({});
    SetWarningBoxPresenter({});
    SetQuestionBoxPresenter({});
}

TRealBoxes::~TRealBoxes() {
    FailOnUnexpectedBoxes();
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
