#include "tools/EvalInput.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

bool TLineReader::Next(std::string& line) {
    if (!std::getline(in_, line))
        return false;
    if (first_ && line.starts_with(kByteOrderMark))
        line.erase(0, kByteOrderMark.size());
    first_ = false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}
