// Errors the engine and the program raise. Every handler lets them escape;
// the application shell shows them in its error box.
#pragma once

#include <stdexcept>
#include <string>

namespace formulon::engine {

// Common base. The message is a code page 1251 byte string.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A number or integer text that does not convert.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Floating-point faults, detected at the operation that causes them.
class EMathError : public Exception {
public:
    using Exception::Exception;
};
class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
};
class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
};
class EOverflow : public EMathError {
public:
    EOverflow() : EMathError("Floating point overflow") {}
};

// Input/output failure on the champions file.
class EInOutError : public Exception {
public:
    EInOutError(const std::string& message, int errorCode)
        : Exception(message), errorCode_(errorCode) {}
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

// An error's message as the error box shows it: a full stop added when its
// last character sorts after '.' (compared as code page 1251 bytes).
inline std::string WithFullStop(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + '.';
    return message;
}

} // namespace formulon::engine
