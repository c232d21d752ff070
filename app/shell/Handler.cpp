#include "app/shell/Handler.h"

#include "app/shell/MessageBoxes.h"

#include <exception>

bool RunProtected(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const EReported&) {
        return false;
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowErrorBox("Unknown error");
    }
    return false;
}

std::function<void()> Handler(std::function<void()> handler) {
    return [handler = std::move(handler)] { RunProtected(handler); };
}
