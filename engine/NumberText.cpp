#include "engine/NumberText.h"

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/Errors.h"
#include "engine/FormulaTrace.h"
#include "engine/ShortText.h"

namespace formulon::engine {

TErrorRegister LastErrorText;

void TErrorRegister::Set(std::string_view message) {
    text_ = ShortText(message);
    if (ActiveFormulaObserver != nullptr) [[unlikely]]
        ActiveFormulaObserver->Message(text_);
}

namespace {

constexpr int kExpansionDigits = 18;
constexpr int kShownDigits = 15;

// The magnitude as 18 significant decimal digits d1..d18 and the exponent E
// with magnitude = 0,d1d2... x 10^E. glibc's conversion is correctly
// rounded, ties to even.
void ExpandDecimal(Extended magnitude, char digits[kExpansionDigits], int& exponent) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kExpansionDigits - 1, magnitude);
    // buffer: d.ddddddddddddddddde[+-]x
    digits[0] = buffer[0];
    for (int i = 1; i < kExpansionDigits; ++i)
        digits[i] = buffer[i + 1];
    exponent = std::atoi(buffer + kExpansionDigits + 2) + 1;
}

} // namespace

std::string RenderNumber(Extended value) {
    const Extended magnitude = std::fabs(value);
    // Zero, negative zero and values below the normal range all read "0".
    if (!(magnitude >= LDBL_MIN))
        return "0";

    char digits[kExpansionDigits];
    int exponent;
    ExpandDecimal(magnitude, digits, exponent);

    // Cut to 15 digits, half-up on the 16th.
    int count = kShownDigits;
    if (digits[kShownDigits] >= '5') {
        int i = kShownDigits - 1;
        while (i >= 0 && digits[i] == '9') {
            digits[i] = '0';
            --i;
        }
        if (i < 0) {
            digits[0] = '1';
            for (int k = 1; k < kShownDigits; ++k)
                digits[k] = '0';
            ++exponent;
        } else {
            ++digits[i];
        }
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;

    std::string text;
    if (value < 0)
        text += '-';
    if (exponent > 15 || exponent < -3) {
        text += digits[0];
        if (count > 1) {
            text += ',';
            text.append(digits + 1, count - 1);
        }
        text += 'E';
        text += std::to_string(exponent - 1);
    } else if (exponent >= 1) {
        for (int i = 0; i < exponent; ++i)
            text += i < count ? digits[i] : '0';
        if (count > exponent) {
            text += ',';
            text.append(digits + exponent, count - exponent);
        }
    } else {
        text += "0,";
        text.append(-exponent, '0');
        text.append(digits, count);
    }
    return text;
}

namespace {

[[noreturn]] void RaiseNotFloat(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid floating point value");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// 10^n for n >= 0, exact while it fits the significand (n <= 27).
Extended PowerOfTen(int n) {
    Extended p = 1;
    for (int i = 0; i < n && i < 27; ++i)
        p *= 10;
    if (n > 27)
        p = std::strtold(("1e" + std::to_string(n)).c_str(), nullptr);
    return p;
}

// value x 10^shift, in steps small enough that only a result beyond the
// extended range overflows.
Extended ScaleByPowerOfTen(Extended value, int shift) {
    constexpr int kStep = 4000;
    while (shift > kStep) {
        value *= PowerOfTen(kStep);
        shift -= kStep;
    }
    while (shift < -kStep) {
        value /= PowerOfTen(kStep);
        shift += kStep;
    }
    return shift >= 0 ? value * PowerOfTen(shift) : value / PowerOfTen(-shift);
}

} // namespace

Extended ParseNumber(const std::string& text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digitsStart = i, digitsEnd = i;
    while (i < n && IsDigit(text[i]))
        ++i;
    digitsEnd = i;
    std::size_t fractionStart = i, fractionEnd = i;
    if (i < n && text[i] == ',') {
        ++i;
        fractionStart = i;
        while (i < n && IsDigit(text[i]))
            ++i;
        fractionEnd = i;
    }
    if (i == mantissaStart)
        RaiseNotFloat(text);

    int exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        while (i < n && IsDigit(text[i]) && exponent < 500) {
            exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        RaiseNotFloat(text);

    // Computed with faults ignored; an overflow or invalid result makes the
    // text invalid, and no flag is left behind.
    const int fractionDigits = static_cast<int>(fractionEnd - fractionStart);
    std::feclearexcept(FE_ALL_EXCEPT);
    volatile Extended mantissa = 0;
    for (std::size_t k = digitsStart; k < digitsEnd; ++k)
        mantissa = mantissa * 10 + (text[k] - '0');
    for (std::size_t k = fractionStart; k < fractionEnd; ++k)
        mantissa = mantissa * 10 + (text[k] - '0');
    volatile Extended value = ScaleByPowerOfTen(mantissa, exponent - fractionDigits);
    const bool bad = std::fetestexcept(FE_OVERFLOW | FE_INVALID) != 0 || !std::isfinite(value);
    std::feclearexcept(FE_ALL_EXCEPT);
    if (bad)
        RaiseNotFloat(text);
    return negative ? -value : value;
}

} // namespace formulon::engine
