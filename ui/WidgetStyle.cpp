#include "ui/WidgetStyle.h"

#include "ui/Look.h"
#include "ui/Pictures.h"
#include "ui/ScrollingWindow.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QStringList>
#include <QStyleOption>
#include <QTimer>
#include <QWindow>
#include <qdrawutil.h>

#include <algorithm>

namespace {

// Draws the group box frame as an etched line and leaves its inside alone.
// The default style darkens the inside slightly, which shows a picture's
// white ground as a rectangle on a white box.
class TPlainGroupBoxStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameGroupBox) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        qDrawShadeRect(painter, option->rect.adjusted(0, 0, -1, -1), option->palette, true, 1, 0,
                       nullptr);
    }
};

// Answers as its base style does, but gives the icon of a menu bar's
// extension button as one made on its first use: the button shows only when
// the menus do not fit, and reading the icon loads Qt's image plugins. Only
// the menu bar's question (no option) is deferred; an option would have to
// be kept.
class TExtensionIconOnUseStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap pixmap, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (pixmap != SP_ToolBarHorizontalExtensionButton || option != nullptr)
            return QProxyStyle::standardIcon(pixmap, option, widget);
        return DeferredIcon([base = QPointer<QStyle>(baseStyle()),
                             widget = QPointer<const QWidget>(widget)] {
            return base ? base->standardIcon(SP_ToolBarHorizontalExtensionButton, nullptr, widget)
                        : QIcon();
        });
    }
};

// Paints a dotted oval inside the clipped button while it has the focus;
// the style's own focus frame lies outside the oval and is cut away.
class TOvalFocusMark : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        auto* button = static_cast<QPushButton*>(watched);
        static_cast<QObject*>(button)->event(event); // the button itself first
        if (button->hasFocus()) {
            QPainter painter(button);
            painter.setPen(QPen(button->palette().color(QPalette::ButtonText), 1, Qt::DotLine));
            painter.drawEllipse(QRect(14, 14, 172, 42));
        }
        return true;
    }
};

// Moves each top-level window into its screen's available area as it is
// shown, before it is mapped, so it never appears partly off the screen. A
// window manager's frame is known only after the window is mapped and
// framed, so the window is checked once more when that has settled.
class TScreenKeeper : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (Keep(widget))
            KeepOnceFramed(widget, kFramingTries);
        return false;
    }

private:
    static constexpr int kFramingSettles = 300; // milliseconds
    static constexpr int kFramingTries = 10;

    // A busy window manager may take longer than one pause to frame the
    // window: looks again until the frame is known, or until the tries are
    // up (no window manager at all).
    static void KeepOnceFramed(QWidget* widget, int triesLeft) {
        QTimer::singleShot(kFramingSettles, widget, [widget, triesLeft] {
            if (!widget->isVisible())
                return;
            if (!FrameMargins(widget).isNull() || triesLeft <= 1)
                Keep(widget);
            else
                KeepOnceFramed(widget, triesLeft - 1);
        });
    }

    // The frame as the window system tells it now. QWidget::frameGeometry
    // keeps what it read last, which can be from the moment the manager was
    // still building its frame (a frame smaller than the window).
    static QMargins FrameMargins(const QWidget* widget) {
        const QWindow* window = widget->windowHandle();
        return window ? window->frameMargins() : QMargins();
    }

    // Returns whether the widget is a window this keeps on screen.
    static bool Keep(QWidget* widget) {
        const Qt::WindowType type = widget->windowType();
        if (!widget->isWindow() || (type != Qt::Window && type != Qt::Dialog))
            return false;
        const QMargins margins = FrameMargins(widget);
        QScreen* screen =
            QGuiApplication::screenAt(widget->geometry().marginsAdded(margins).center());
        if (!screen)
            screen = widget->screen();
        if (!screen)
            return false;
        // Some window managers put the frame's corner where the window's
        // own corner was asked for: room is kept for either reading. A
        // window larger than the room scrolls its content within it.
        const QRect available = screen->availableGeometry();
        ScrollContentWithin(widget, available.size() - QSize(2 * margins.left() + margins.right(),
                                                             2 * margins.top() + margins.bottom()));
        const QRect frame = widget->geometry().marginsAdded(margins);
        const QRect room = frame.united(QRect(widget->geometry().topLeft(), frame.size()));
        const QPoint shift = OnScreenPosition(room, available) - room.topLeft();
        if (!shift.isNull())
            widget->move(widget->pos() + shift);
        return true;
    }
};

// Sets the font before the first Show event reaches the widget, then goes.
class TFontOnShow : public QObject {
public:
    TFontOnShow(QWidget* widget, const QFont& font) : QObject(widget), font_(font) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            static_cast<QWidget*>(watched)->setFont(font_);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QFont font_;
};

} // namespace

void SetFontWhenShown(QWidget* widget, const QFont& font) {
    if (widget->isVisible()) {
        widget->setFont(font);
        return;
    }
    widget->installEventFilter(new TFontOnShow(widget, font));
}

QFont PixelFont(const QString& family, int pixels, unsigned styles) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(styles & kBold);
    font.setItalic(styles & kItalic);
    font.setUnderline(styles & kUnderline);
    return font;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    SetLayoutColour(widget, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, colour);
}

void SetBackground(QWidget* widget, const QColor& colour) {
    SetLayoutColour(widget, {QPalette::Window}, colour);
    widget->setAutoFillBackground(true);
}

void MakeOvalButton(QPushButton* button) {
    button->setMask(QRegion(10, 10, 180, 50, QRegion::Ellipse));
    button->installEventFilter(new TOvalFocusMark(button));
}

void MakePlainGroupBox(QGroupBox* box) {
    auto* style = new TPlainGroupBoxStyle;
    style->setParent(box);
    box->setStyle(style);
}

void CentreOnScreen(QWidget* window) {
    // move() places the frame, so the frame is what gets centred.
    const QRect frame = window->frameGeometry();
    if (const QScreen* screen = window->screen())
        window->move(frame.topLeft() + screen->geometry().center() - frame.center());
}

QPoint OnScreenPosition(const QRect& frame, const QRect& available) {
    const int left =
        std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
    const int top =
        std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
    return {left, top};
}

namespace {

// The frame a window manager put round a shown window.
QMargins FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

} // namespace

TFittedPlace FitOverOpener(const QWidget* window, const QSize& whole, const QWidget* opener) {
    const QMargins frame = opener ? FrameMargins(opener) : QMargins();
    // Some window managers put the frame's corner where the window's own
    // corner was asked for: room is kept for either reading.
    const QMargins slack(0, 0, frame.left(), frame.top());
    const QScreen* screen = opener ? opener->screen() : window->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(), whole);
    const QSize size = whole.boundedTo((available - frame - slack).size()).expandedTo(whole / 4);
    QRect framed = QRect(QPoint(), size) + frame;
    framed.moveCenter(opener ? opener->frameGeometry().center() : available.center());
    return {size, OnScreenPosition(framed + slack, available)};
}

void KeepWindowsOnScreen(QApplication& app) {
    app.installEventFilter(new TScreenKeeper(&app));
}

void KeepImagePluginsOffTheFirstFrame() {
    QStyle* style = QApplication::style(); // the one Qt chose, or -style named
    if (style->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0) {
        // QPixmap keeps what it reads in the pixmap cache, where Fusion
        // finds its frame picture (Qt's own resource) when it first draws one.
        const QStringList folders = QCoreApplication::libraryPaths();
        QCoreApplication::setLibraryPaths({});
        const QPixmap frame(
            QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
        QCoreApplication::setLibraryPaths(folders);
    }
    QApplication::setStyle(new TExtensionIconOnUseStyle(style));
}
