#include "ui/Windowing.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// _MOTIF_WM_HINTS: which fields count, and their bits.
constexpr std::uint32_t kHintsFunctions = 1;
constexpr std::uint32_t kHintsDecorations = 2;
constexpr std::uint32_t kFunctionMove = 4;
constexpr std::uint32_t kFunctionClose = 32;
constexpr std::uint32_t kDecorationBorder = 2;
constexpr std::uint32_t kDecorationTitle = 8;
constexpr std::uint32_t kDecorationMenu = 16;

// Flags, functions, decorations, input mode, status.
struct TMotifHints {
    std::uint32_t Fields[5] = {};
};

// A fixed-size window: moving is the only function besides what the
// buttons offer, and there are no resize handles.
TMotifHints MotifHints(TTitleButtons buttons) {
    TMotifHints hints;
    hints.Fields[0] = kHintsFunctions | kHintsDecorations;
    hints.Fields[1] = kFunctionMove;
    hints.Fields[2] = kDecorationBorder | kDecorationTitle;
    if (buttons == TTitleButtons::Close) {
        hints.Fields[1] |= kFunctionClose;
        hints.Fields[2] |= kDecorationMenu;
    }
    return hints;
}

xcb_connection_t* X11Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t MotifHintsAtom(xcb_connection_t* connection) {
    static xcb_atom_t atom = XCB_ATOM_NONE;
    if (atom == XCB_ATOM_NONE) {
        const char name[] = "_MOTIF_WM_HINTS";
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
        if (reply)
            atom = reply->atom;
        std::free(reply);
    }
    return atom;
}

void WriteMotifHints(QWidget* window, const TMotifHints& hints) {
    xcb_connection_t* connection = X11Connection();
    if (!connection)
        return;
    const xcb_atom_t atom = MotifHintsAtom(connection);
    if (atom == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window->winId()), atom, atom, 32, 5,
                        hints.Fields);
    xcb_flush(connection);
}

// Writes the hints as the window is shown: Qt has written its own when it
// created the native window, and the manager reads them when it is mapped.
class TTitleButtonsKeeper : public QObject {
public:
    TTitleButtonsKeeper(QWidget* window, TTitleButtons buttons)
        : QObject(window), hints_(MotifHints(buttons)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !event->spontaneous())
            WriteMotifHints(static_cast<QWidget*>(watched), hints_);
        return false;
    }

private:
    TMotifHints hints_;
};

class TMinimiseRefuser : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::WindowStateChange)
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (window->windowState() & Qt::WindowMinimized)
            // After the window manager has finished minimising it.
            QTimer::singleShot(0, window, [window] {
                if (!window->isVisible() || !(window->windowState() & Qt::WindowMinimized))
                    return;
                window->showNormal();
                window->raise();
                window->activateWindow();
            });
        return false;
    }
};

// Remembers the active window as each modal window is shown and activates
// it again once that modal window has gone.
class TModalActivationReturn : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Show && type != QEvent::Hide) || event->spontaneous() ||
            !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isWindow() || !window->isModal())
            return false;
        if (type == QEvent::Show)
            under_.insert(window, QApplication::activeWindow());
        else
            HandBack(under_.take(window));
        return false;
    }

private:
    static void HandBack(const QPointer<QWidget>& under) {
        if (!under)
            return;
        QTimer::singleShot(0, under, [under] {
            // Unless another modal window took over meanwhile.
            const QWidget* modal = QApplication::activeModalWidget();
            if (under && under->isVisible() && (!modal || modal == under))
                under->activateWindow();
        });
    }

    QHash<QObject*, QPointer<QWidget>> under_;
};

} // namespace

void SetTitleButtons(QWidget* window, TTitleButtons buttons) {
    window->installEventFilter(new TTitleButtonsKeeper(window, buttons));
    if (window->isVisible())
        WriteMotifHints(window, MotifHints(buttons));
}

void KeepFromMinimising(QWidget* window) {
    window->installEventFilter(new TMinimiseRefuser(window));
}

void ReturnActivationAfterModals(QApplication& app) {
    app.installEventFilter(new TModalActivationReturn(&app));
}
