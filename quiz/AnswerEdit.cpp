#include "quiz/AnswerEdit.h"

#include "quiz/core/AnswerBox.h"
#include "ui/TextCodec.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
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

class TSelectOnFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            auto* edit = static_cast<QLineEdit*>(watched);
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            const bool givenBack =
                reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
            // Queued: a click that gives the focus places the cursor after it.
            if (!givenBack || !edit->isModified())
                QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        }
        return QObject::eventFilter(watched, event);
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

void SelectTextOnFocus(QLineEdit* edit) {
    edit->installEventFilter(new TSelectOnFocus(edit));
}
