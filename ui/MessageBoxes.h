// The program's message boxes, shown one way: the information and warning
// boxes, the question on closing, and the box the standard error box
// (app/ErrorBox.h) is shown in.
#pragma once

#include <QString>

#include <functional>
#include <string>

// The application's title: caption of the error box and of questions.
QString ApplicationTitle();

// The error box's text for a code page 1251 message, full stop included.
QString ErrorBoxText(const std::string& cp1251Message);

// Shows a box instead of the real modal QMessageBox; only tests set one.
using TMessagePresenter = std::function<void(const QString& caption, const QString& text)>;

// A modal box with one OK button, centred, wide enough for its caption, its
// icon named; or handed to the presenter when one is set. Once the program
// is ending its text goes to standard error instead.
enum class TBoxIcon { Critical, Warning, Information };
void ShowMessageBox(TBoxIcon icon, const QString& caption, const QString& text,
                    const TMessagePresenter& presenter);

// The information box of a changed champions file (caption "Information",
// information icon, one OK button). The text is given in Unicode; a
// carriage return in it shows as a line break.
void ShowInformationBox(const QString& text);

// The old runtime's standard warning box: caption "Warning", one OK button,
// centred on the screen.
void ShowWarningBox(const QString& text);

// After a failed save on closing: "Рекорды не сохранены в файл", the file's
// full path and "Выйти без сохранения?", one per line, in a question box
// captioned with the application title, buttons "Да" and "Нет" ("Нет" the
// default and the answer of Escape). True when the pupil chose "Да".
bool AskQuitWithoutSaving(const QString& path);

// The program is ending on a termination request: every open box closes
// now, and from now on a box's text goes to standard error instead and a
// question is answered "Да" at once.
void EndMessageBoxes();

// Test seams: replace how the boxes are shown (an empty function restores
// the real modal QMessageBox). Only tests use these.
void SetInformationBoxPresenter(TMessagePresenter presenter);
void SetWarningBoxPresenter(TMessagePresenter presenter);
// A question presenter gives the answer: true for "Да".
using TQuestionPresenter = std::function<bool(const QString& caption, const QString& text)>;
void SetQuestionBoxPresenter(TQuestionPresenter presenter);
