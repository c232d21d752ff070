#include "app/ErrorBox.h"

namespace {

TMessagePresenter errorPresenter;

} // namespace

void ShowErrorBox(const std::string& cp1251Message) {
    ShowMessageBox(TBoxIcon::Critical, ApplicationTitle(), ErrorBoxText(cp1251Message),
                   errorPresenter);
}

void ShowException(const std::exception& error) {
    // Exception messages are code page 1251; a foreign std::exception's
    // what() is shown as the bytes it holds, read the same way.
    ShowErrorBox(error.what());
}

void SetErrorBoxPresenter(TMessagePresenter presenter) {
    errorPresenter = std::move(presenter);
}
