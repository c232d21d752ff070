#include "typeset/FormulaView.h"

#include "typeset/TypesetService.h"
#include "ui/LargeText.h"
#include "ui/WidgetStyle.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>

namespace {

// Room kept between the picture and the box's edge.
constexpr int kMargin = 4;

// Why a formula has no picture, in words a pupil understands: the
// typesetter's own words are for its developers.
QString FailureWords(TTypesetFormula::TStatus status) {
    switch (status) {
    case TTypesetFormula::TStatus::TimedOut:
        return QStringLiteral("формула слишком длинная");
    case TTypesetFormula::TStatus::TooLarge:
        return QStringLiteral("формула слишком большая");
    case TTypesetFormula::TStatus::TexError:
    case TTypesetFormula::TStatus::DrawError:
        return QStringLiteral("программа не смогла её нарисовать");
    case TTypesetFormula::TStatus::Ok:
    case TTypesetFormula::TStatus::Unavailable:
        break;
    }
    return QStringLiteral("рисование формул сейчас не работает");
}

} // namespace

TFormulaView::TFormulaView(QWidget* parent)
    : QScrollArea(parent), client_(new TTypesetClient(this)), picture_(new QLabel) {
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setTextFormat(Qt::PlainText);
    SetTextColour(picture_, clGray);
    SizesItsOwnText(picture_); // this box sizes its words and pictures
    setWidget(picture_);
    setAlignment(Qt::AlignCenter);
    picture_->installEventFilter(this);
    connect(client_, &TTypesetClient::typeset, this, &TFormulaView::Show);
}

void TFormulaView::ShowTex(const QString& tex, qreal pixelsPerEm, int delayMs) {
    tex_ = tex;
    pixelsPerEm_ = pixelsPerEm;
    state_ = TState::Typesetting;
    failure_.clear();
    scale_ = 1;
    ShowWords(QStringLiteral("Формула набирается…"));
    Request(delayMs);
}

void TFormulaView::Clear() {
    client_->Cancel();
    tex_.clear();
    state_ = TState::Empty;
    failure_.clear();
    scale_ = 1;
    ShowWords({});
}

void TFormulaView::SetSpokenForm(const QString& words) {
    setAccessibleDescription(words);
    picture_->setAccessibleDescription(words);
}

void TFormulaView::Request(int delayMs) {
    ratio_ = picture_->devicePixelRatioF();
    TTypesetRequest request;
    request.Tex = tex_;
    request.PixelsPerEm = pixelsPerEm_;
    request.DevicePixelRatio = ratio_;
    box_ = maximumViewportSize();
    request.FitInto = QSizeF(box_ - QSize(2 * kMargin, 2 * kMargin));
    request.MinScale = MinScale;
    client_->Request(request, delayMs);
}

void TFormulaView::Show(const TTypesetFormula& formula) {
    if (!formula.Ok()) {
        state_ = TState::Failed;
        failure_ = QStringLiteral("Картинку формулы построить не удалось: ") +
                   FailureWords(formula.Status);
        ShowWords(failure_);
    } else {
        state_ = TState::Shown;
        scale_ = formula.Scale;
        picture_->setWordWrap(false);
        picture_->setPixmap(QPixmap::fromImage(formula.Image));
        picture_->resize(formula.Size.toSize() + QSize(2 * kMargin, 2 * kMargin));
    }
    emit finished();
}

// Words wrap within the box.
void TFormulaView::ShowWords(const QString& words) {
    picture_->setPixmap({});
    picture_->setText(words);
    picture_->setWordWrap(true);
    const int width = maximumViewportSize().width();
    picture_->resize(width, words.isEmpty() ? 0 : picture_->heightForWidth(width));
}

// A screen of another density, or a box of another size, wants the picture
// drawn again; MathJax's output is kept, so that costs the drawing only.
bool TFormulaView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && Drawing() &&
        (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal ||
         event->type() == QEvent::Paint) &&
        !qFuzzyCompare(picture_->devicePixelRatioF(), ratio_))
        Request(0);
    return QScrollArea::eventFilter(watched, event);
}

void TFormulaView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (Drawing() && maximumViewportSize() != box_)
        Request(0);
}

bool TFormulaView::Drawing() const {
    return state_ == TState::Typesetting || state_ == TState::Shown;
}
