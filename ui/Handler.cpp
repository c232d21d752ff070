#include "ui/Handler.h"

#include "ui/MessageBoxes.h"

#include <cstdio>
#include <exception>

namespace {

TErrorReporter errorReporter;

} // namespace

void SetErrorReporter(TErrorReporter reporter) {
    errorReporter = std::move(reporter);
}

void ReportError(const std::string& cp1251Message) {
    if (errorReporter)
        errorReporter(cp1251Message);
    else
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(ApplicationTitle()),
                     qUtf8Printable(ErrorBoxText(cp1251Message)));
}

bool RunProtected(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const EReported&) {
        return false;
    } catch (const std::exception& error) {
        ReportError(error.what());
    } catch (...) {
        ReportError("Unknown error");
    }
    return false;
}

std::function<void()> Handler(std::function<void()> handler) {
    return [handler = std::move(handler)] { RunProtected(handler); };
}
