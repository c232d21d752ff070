// Helpers for the GUI tests. The shared main (TestMain.cpp) creates the
// TApplication after InitGoogleTest, with the offscreen platform unless one
// is set, a temporary home and data folder (QStandardPaths test mode), the
// title "Formulon", the font substitutions and quitOnLastWindowClosed off.
// It does not create the windows: call CreateWindowsOnce().
#pragma once

#include <QString>
#include <QStringList>

#include <string>

// Creates Form1, Form2, Form3 and AboutFrm once per process, as start-up
// does (errors of creation go to the error box presenter in force).
void CreateWindowsOnce();

// Makes any message box a test failure (the box's caption and text in the
// message) instead of a modal box that would wait for a click. The shared
// main installs it before the tests run.
void FailOnUnexpectedBoxes();

// Records what the error, information, warning and question boxes would show instead
// of showing them; unexpected boxes fail the test again when destroyed.
class TBoxRecorder {
public:
    TBoxRecorder();
    ~TBoxRecorder();
    TBoxRecorder(const TBoxRecorder&) = delete;
    TBoxRecorder& operator=(const TBoxRecorder&) = delete;

    QStringList Errors;        // texts of error boxes
    QStringList ErrorCaptions; // their captions
    QStringList Informations;  // texts of information boxes
    QStringList InformationCaptions;
    QStringList Warnings; // texts of warning boxes
    QStringList WarningCaptions;
    QStringList Questions; // texts of question boxes
    QStringList QuestionCaptions;
    bool QuestionAnswer = false; // what every question is answered: "Да" when true
};

// The real modal boxes while it lives, for the tests of the boxes
// themselves; unexpected boxes fail the test again when destroyed.
class TRealBoxes {
public:
    TRealBoxes();
    ~TRealBoxes();
    TRealBoxes(const TRealBoxes&) = delete;
    TRealBoxes& operator=(const TRealBoxes&) = delete;
};

// The test's data folder (AppDataLocation), created.
QString DataFolder();

#include <functional>

// Processes events until the condition holds or the time is up; returns
// whether it holds.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 3000);
