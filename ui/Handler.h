// Running a handler the way the old runtime runs one.
#pragma once

#include <exception>
#include <functional>
#include <string>

// An error its raiser has already reported (or a step put off on purpose):
// the handler's remaining steps are skipped without another box.
class EReported : public std::exception {
public:
    const char* what() const noexcept override { return "reported"; }
};

// Where an error that escapes a handler is shown. Start-up points it at the
// standard error box; until then, or when it is empty, the message goes to
// standard error. Messages are code page 1251.
using TErrorReporter = std::function<void(const std::string& cp1251Message)>;
void SetErrorReporter(TErrorReporter reporter);
void ReportError(const std::string& cp1251Message);

// Runs one handler: an error that escapes is reported (start-up shows it in
// the error box) and the handler's remaining steps are skipped. Returns
// false when an error was shown or had been reported.
bool RunProtected(const std::function<void()>& handler);

// A handler ready to connect to a signal: it runs inside RunProtected, so
// an error is shown right where the handler was called and never unwinds
// through Qt's own frames, which are built without exception cleanup.
std::function<void()> Handler(std::function<void()> handler);
