// FormulaValue on arbitrary bytes. The error register is carried from one
// input to the next, as it is between checks in the program.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/Formula.h"
#include "engine/NumberText.h"

using namespace formulon::engine;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFloatingPointEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The answer box holds at most 32,767 characters.
    if (size > 32767)
        return -1;
    const std::string formula(reinterpret_cast<const char*>(data), size);
    // Any text must end in a value text or an Exception; the sanitizers
    // catch what goes wrong on the way.
    try {
        (void)FormulaValue(formula);
    } catch (const Exception&) {
        // Conversion errors and faults are outcomes, shown in the error box.
    }
    return 0;
}
