// Texts between the user interface (Unicode, QString) and code page 1251
// (engine texts, messages, names in the champions file). Built on
// engine/Cp1251.h; the windows use only these functions.
#pragma once

#include <QString>
#include <QValidator>

#include <string>
#include <string_view>

// Code page 1251 bytes -> QString. Every byte has a character.
QString FromCp1251(std::string_view bytes);

// QString -> code page 1251 bytes. A character without a byte becomes '?';
// 'lossless' (when given) tells whether none did.
std::string ToCp1251(const QString& text, bool* lossless = nullptr);

// Whether every character of the text has a code page 1251 byte.
bool IsCp1251Text(const QString& text);

// Accepts only texts code page 1251 can hold (the name box Edit2).
class TCp1251Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
