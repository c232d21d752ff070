#include "ui/TextCodec.h"

#include "engine/Cp1251.h"

using namespace formulon::engine;

QString FromCp1251(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char byte : bytes) {
        const char32_t cp = Cp1251ToUnicode(byte);
        text.append(QString::fromUcs4(&cp, 1));
    }
    return text;
}

std::string ToCp1251(const QString& text, bool* lossless) {
    std::string bytes;
    bool all = true;
    for (char32_t cp : text.toUcs4()) {
        const int byte = UnicodeToCp1251(cp);
        if (byte < 0) {
            all = false;
            bytes.push_back('?');
        } else {
            bytes.push_back(static_cast<char>(byte));
        }
    }
    if (lossless)
        *lossless = all;
    return bytes;
}

bool IsCp1251Text(const QString& text) {
    bool lossless = true;
    ToCp1251(text, &lossless);
    return lossless;
}

QValidator::State TCp1251Validator::validate(QString& input, int&) const {
    return IsCp1251Text(input) ? Acceptable : Invalid;
}
