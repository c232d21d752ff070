// formulon-eval's input lines, the same for every mode: a UTF-8 byte-order
// mark before the first line and the CR of a CRLF line end are dropped, and
// a blank line is told apart from a formula.
#pragma once

#include <istream>
#include <string>
#include <string_view>

class TLineReader {
public:
    explicit TLineReader(std::istream& in) : in_(in) {}
    // The next line without its line end; false at the end of the input or
    // when it cannot be read (then Failed tells).
    bool Next(std::string& line);
    bool Failed() const { return in_.bad(); }

private:
    std::istream& in_;
    bool first_ = true;
};

// Nothing but blanks and tabs, or nothing at all.
bool IsBlank(std::string_view line);
