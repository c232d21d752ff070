#include "engine/FloatEnv.h"

#include <cfenv>
#include <cmath>

#include "engine/Errors.h"

namespace formulon::engine {

void InitFloatingPointEnvironment() {
#if defined(__x86_64__) || defined(__i386__)
    // 64-bit significand, round to nearest, every exception masked: faults
    // are found by testing the status flags after each step.
    const unsigned short controlWord = 0x037F;
    asm volatile("fldcw %0" : : "m"(controlWord));
#endif
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
}

void ClearFloatingPointFlags() {
    std::feclearexcept(FE_ALL_EXCEPT);
}

void RaiseFloatingPointFault() {
    const int flags = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    if (flags == 0)
        return;
    std::feclearexcept(FE_ALL_EXCEPT);
    if (flags & FE_INVALID)
        throw EInvalidOp();
    if (flags & FE_DIVBYZERO)
        throw EZeroDivide();
    throw EOverflow();
}

// Operands pass through volatile storage so that the operation happens
// between clearing and testing the flags, not where the optimiser likes.
Extended CheckedAdd(Extended a, Extended b) {
    volatile Extended x = a, y = b;
    ClearFloatingPointFlags();
    volatile Extended r = x + y;
    RaiseFloatingPointFault();
    return r;
}

Extended CheckedSub(Extended a, Extended b) {
    volatile Extended x = a, y = b;
    ClearFloatingPointFlags();
    volatile Extended r = x - y;
    RaiseFloatingPointFault();
    return r;
}

Extended CheckedMul(Extended a, Extended b) {
    volatile Extended x = a, y = b;
    ClearFloatingPointFlags();
    volatile Extended r = x * y;
    RaiseFloatingPointFault();
    return r;
}

Extended CheckedDiv(Extended a, Extended b) {
    volatile Extended x = a, y = b;
    ClearFloatingPointFlags();
    volatile Extended r = x / y;
    RaiseFloatingPointFault();
    return r;
}

double CheckedToDouble(Extended value) {
    // From half a unit past the largest double on, the value rounds to
    // infinity: that is the overflow, found before a conversion whose
    // result C++ leaves undefined.
    constexpr Extended kDoubleOverflow = 0x1.fffffffffffffp1023L + 0x1p970L;
    if (std::fabs(value) >= kDoubleOverflow)
        throw EOverflow();
    volatile Extended x = value;
    ClearFloatingPointFlags();
    volatile double r = static_cast<double>(x);
    RaiseFloatingPointFault();
    return r;
}

} // namespace formulon::engine
