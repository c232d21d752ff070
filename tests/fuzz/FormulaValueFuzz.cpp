// FormulaValue on arbitrary bytes. The error register is carried from one
// input to the next, as it is between checks in the program.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/Formula.h"
#include "engine/NumberText.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFloatingPointEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The answer box holds at most 32,767 characters.
    if (size > 32767)
        return -1;
    const std::string formula(reinterpret_cast<const char*>(data), size);
    try {
        const std::string value = FormulaValue(formula);
        // A result text either is a number text, or passes through as written.
        (void)value;
    } catch (const Exception&) {
        // Conversion errors and faults are outcomes, shown in the error box.
    }
    if (LastErrorText.Read().size() > 255)
        __builtin_trap();
    return 0;
}
