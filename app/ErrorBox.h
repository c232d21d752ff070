// The standard error box, in which every error that escapes a handler is
// shown: start-up makes it where the shared layer reports errors
// (SetErrorReporter, ui/Handler.h).
#pragma once

#include "ui/MessageBoxes.h"

#include <exception>
#include <string>

// Shows the standard error box for an error: caption = application title,
// text = the message (code page 1251 for Exception, else what()) with the
// full-stop rule, error icon, one OK button.
void ShowException(const std::exception& error);
void ShowErrorBox(const std::string& cp1251Message);

// Test seam: replaces how the error box is shown (an empty function
// restores the real modal box). Only tests use it.
void SetErrorBoxPresenter(TMessagePresenter presenter);
