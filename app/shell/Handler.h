// Running a handler the way the old runtime runs one.
#pragma once

#include <functional>

#include <exception>

// An error its raiser has already reported (or a step put off on purpose):
// the handler's remaining steps are skipped without another box.
class EReported : public std::exception {
public:
    const char* what() const noexcept override { return "reported"; }
};

// Runs one handler: an error that escapes is shown in the error box and the
// handler's remaining steps are skipped. Returns false when an error was
// shown or had been reported.
bool RunProtected(const std::function<void()>& handler);

// A handler ready to connect to a signal: it runs inside RunProtected, so
// an error is shown right where the handler was called and never unwinds
// through Qt's own frames, which are built without exception cleanup.
std::function<void()> Handler(std::function<void()> handler);
