// The program's value of a formula, worked out to explain an answer rather
// than to judge it: nothing anyone can see changes.
#pragma once

#include <string>

// FormulaValue that leaves no trace: LastErrorText stays exactly as it was,
// no observer hears the steps, and a raised error is caught with no
// floating-point flag left behind. False when the evaluation raised.
bool QuietFormulaValue(const std::string& formula, std::string& value);

// The same, telling all a checker of a formula needs: the value text, or the
// raised error's message (code page 1251) when Raised; and the message the
// engine left in LastErrorText, which is then put back as it was.
struct TQuietResult {
    bool Raised = false;
    std::string Text;
    std::string Message;
};
TQuietResult QuietFormulaResult(const std::string& formula);
