// ParseNumber and the integer conversion on arbitrary text; every accepted
// number must render to a text that parses back to the same text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/IntegerText.h"
#include "engine/NumberText.h"

using namespace formulon::engine;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFloatingPointEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const Extended value = ParseNumber(text);
        const std::string rendered = RenderNumber(value);
        if (RenderNumber(ParseNumber(rendered)) != rendered || rendered.size() > 23)
            __builtin_trap();
    } catch (const EConvertError&) {
    }
    try {
        const std::int32_t value = StrToInt(text);
        if (StrToInt(IntToStr(value)) != value)
            __builtin_trap();
    } catch (const EConvertError&) {
    }
    return 0;
}
