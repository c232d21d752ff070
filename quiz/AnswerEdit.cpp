#include "quiz/AnswerEdit.h"

#include "app/shell/TextCodec.h"
#include "quiz/core/AnswerBox.h"

#include <QLineEdit>
#include <QValidator>

namespace {

class TLowerCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toLower(); // same length: the cursor stays put
        return Acceptable;
    }
};

} // namespace

void MakeAnswerBox(QLineEdit* edit) {
    edit->setValidator(new TLowerCaseValidator(edit));
    edit->setMaxLength(kAnswerBoxMaxLength);
}

std::string AnswerText(const QLineEdit* edit) {
    return ToCp1251(edit->text());
}
