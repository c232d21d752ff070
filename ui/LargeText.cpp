#include "ui/LargeText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

const char kOwnSize[] = "formulonSizesItsOwnText";
const char kLayoutFont[] = "formulonLayoutFont";
const char kShownFont[] = "formulonShownFont";
const char kLayoutRect[] = "formulonLayoutRect";
const char kShownRect[] = "formulonShownRect";

constexpr double kGrowth = 1.25;

bool& TextsLarge() {
    static bool large = false;
    return large;
}

bool Large() {
    return TextsLarge();
}

bool IsPlainLabel(const QWidget* widget) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    return label && !label->text().isEmpty() && label->pixmap().isNull() &&
           (label->textFormat() == Qt::PlainText ||
            (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(label->text())));
}

bool HasText(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (qobject_cast<const QMenuBar*>(w) || qobject_cast<const QMenu*>(w))
            return false;
    return !widget->isWindow() &&
           (IsPlainLabel(widget) || qobject_cast<const QAbstractButton*>(widget) ||
            qobject_cast<const QLineEdit*>(widget) ||
            qobject_cast<const QAbstractItemView*>(widget) ||
            qobject_cast<const QPlainTextEdit*>(widget));
}

// Where a label draws its text of that size within 'rect'.
QRect Ink(const QLabel* label, const QSize& text, const QRect& rect) {
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), text, rect);
}

// The room a label's text takes in that font.
QSize TextSize(const QLabel* label, const QFont& font, int width) {
    const QFontMetrics metrics(font);
    const int frame = 2 * (label->frameWidth() + label->margin());
    if (label->wordWrap()) {
        const QRect wrapped =
            metrics.boundingRect(QRect(0, 0, std::max(1, width - frame), 1 << 20),
                                 Qt::TextWordWrap | label->alignment(), label->text());
        return {width, wrapped.height() + frame};
    }
    const QRect lines = metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), 0, label->text());
    return lines.size() + QSize(frame + 1, frame);
}

int Area(const QRect& rect) {
    return rect.isEmpty() ? 0 : rect.width() * rect.height();
}

// What another control shows: a label its text, anything else all of it.
QRect InkOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && IsPlainLabel(label))
        return Ink(label, TextSize(label, label->font(), label->width()), label->geometry());
    return widget->geometry();
}

// The label's place for a text of that font, grown right and down (left
// when it is aligned right) into room no other control shows anything in
// (a text that touched another at the layout's size may touch it no more);
// empty when there is no such room.
QRect LabelPlace(const QLabel* label, const QFont& font, const QFont& layoutFont,
                 const QRect& layout) {
    const QSize text = TextSize(label, font, layout.width());
    QRect place = layout;
    if (text.width() > place.width()) {
        if (label->alignment() & Qt::AlignRight)
            place.setLeft(place.right() + 1 - text.width());
        else
            place.setWidth(text.width());
    }
    place.setHeight(std::max(place.height(), text.height()));
    const QWidget* parent = label->parentWidget();
    if (!parent || !parent->rect().contains(place))
        return {};
    const QRect ink = Ink(label, text, place);
    const QRect before = Ink(label, TextSize(label, layoutFont, layout.width()), layout);
    for (const QObject* object : parent->children()) {
        const auto* other = qobject_cast<const QWidget*>(object);
        if (!other || other == label || other->isWindow() || other->isHidden() ||
            other->property("formulonDecorative").toBool())
            continue;
        const QRect shown = InkOf(other);
        if (Area(ink & shown) > Area(before & shown))
            return {};
    }
    return place;
}

// A table's rows hold the taller text, and every cell that held its text
// whole still does.
bool TableFits(const QTableView* table, const QFontMetrics& metrics, const QFont& layout) {
    const QAbstractItemModel* model = table->model();
    if (!model || model->rowCount() == 0 || metrics.height() + 2 > table->rowHeight(0))
        return false;
    const QFontMetrics before(layout);
    for (int row = 0; row < model->rowCount(); ++row)
        for (int column = 0; column < model->columnCount(); ++column) {
            const QString text = model->index(row, column).data().toString();
            const int room = table->columnWidth(column) - 4;
            if (before.horizontalAdvance(text) <= room && metrics.horizontalAdvance(text) > room)
                return false;
        }
    return true;
}

// Whether a control's text of that font fits the control as laid out.
bool FitsControl(const QWidget* widget, const QFont& font, const QFont& layout) {
    const QFontMetrics metrics(font);
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        return metrics.horizontalAdvance(button->text()) + icon + 12 <= button->width() &&
               metrics.height() + 6 <= button->height();
    }
    if (qobject_cast<const QLineEdit*>(widget))
        return metrics.height() + 6 <= widget->height();
    if (const auto* table = qobject_cast<const QTableView*>(widget))
        return TableFits(table, metrics, layout);
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget))
        return metrics.lineSpacing() + 2 * text->frameWidth() + 4 +
                   (text->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn ? 16 : 0) <=
               text->height();
    return qobject_cast<const QListView*>(widget) != nullptr; // its lines grow with the text
}

int PixelsOf(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

// The widget's layout font and place: what it had before the look first
// changed them, or what its window gave it since.
QFont LayoutFont(QWidget* widget) {
    if (widget->property(kShownFont).value<QFont>() != widget->font() ||
        !widget->property(kLayoutFont).isValid())
        widget->setProperty(kLayoutFont, widget->font());
    return widget->property(kLayoutFont).value<QFont>();
}

QRect LayoutRect(QWidget* widget) {
    if (widget->property(kShownRect).toRect() != widget->geometry() ||
        !widget->property(kLayoutRect).isValid())
        widget->setProperty(kLayoutRect, widget->geometry());
    return widget->property(kLayoutRect).toRect();
}

void Show(QWidget* widget, const QFont& font, const QRect& place) {
    widget->setProperty(kShownFont, font);
    widget->setProperty(kShownRect, place);
    if (widget->font() != font)
        widget->setFont(font);
    if (widget->geometry() != place)
        widget->setGeometry(place);
}

void Fit(QWidget* widget) {
    if (!HasText(widget) || widget->property(kOwnSize).toBool())
        return;
    const bool known = widget->property(kLayoutFont).isValid();
    if (!Large() && !known)
        return; // the look never changed it
    const QFont layout = LayoutFont(widget);
    const QRect rect = LayoutRect(widget);
    auto* label = qobject_cast<QLabel*>(widget);
    if (Large()) {
        const int pixels = PixelsOf(layout);
        for (int size = static_cast<int>(std::lround(pixels * kGrowth)); size > pixels; --size) {
            QFont font = layout;
            font.setPixelSize(size);
            const QRect place = label ? LabelPlace(label, font, layout, rect)
                                      : (FitsControl(widget, font, layout) ? rect : QRect());
            if (!place.isNull()) {
                Show(widget, font, place);
                return;
            }
        }
    }
    Show(widget, layout, rect);
}

// Looks again once the events of the moment are done: a window's layout code
// may still be placing things.
void FitSoon(QWidget* widget) {
    QTimer::singleShot(0, widget, [widget = QPointer<QWidget>(widget)] {
        if (widget)
            FitTextsToLook(widget);
    });
}

class TTextFitter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!Large() || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Resize:
        case QEvent::Move:
            if (HasText(widget))
                FitSoon(widget);
            break;
        case QEvent::LayoutRequest: // a child label's text may have changed
            for (QObject* child : widget->children())
                if (auto* label = qobject_cast<QLabel*>(child))
                    FitSoon(label);
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void SetTextsLarge(bool large) {
    TextsLarge() = large;
}

int LookPixels(int pixels) {
    return Large() ? static_cast<int>(std::lround(pixels * kGrowth)) : pixels;
}

void FitTextsToLook(QWidget* widget) {
    Fit(widget);
}

void KeepTextsFitted(QApplication& app) {
    app.installEventFilter(new TTextFitter(&app));
}

void SizesItsOwnText(QWidget* widget) {
    widget->setProperty(kOwnSize, true);
}
