// The standard error box and the program's other message boxes.
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <string>

// The error box's text for a code page 1251 message, full stop included.
QString ErrorBoxText(const std::string& cp1251Message);

// Shows the standard error box for an error: caption = application title,
// text = the message (code page 1251 for Exception, else what()) with the
// full-stop rule, error icon, one OK button.
void ShowException(const std::exception& error);
void ShowErrorBox(const std::string& cp1251Message);

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
using TMessagePresenter = std::function<void(const QString& caption, const QString& text)>;
void SetErrorBoxPresenter(TMessagePresenter presenter);
void SetInformationBoxPresenter(TMessagePresenter presenter);
void SetWarningBoxPresenter(TMessagePresenter presenter);
// A question presenter gives the answer: true for "Да".
using TQuestionPresenter = std::function<bool(const QString& caption, const QString& text)>;
void SetQuestionBoxPresenter(TQuestionPresenter presenter);
