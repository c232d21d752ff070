#include "ui/ScrollingWindow.h"

#include "ui/AccessibleTree.h"

#include <QLayout>
#include <QList>
#include <QMainWindow>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>

namespace {

const char kScroller[] = "ScrollBoxWhole";
const char kWholeSize[] = "formulonWholeSize";

QScrollArea* MakeScroller(QWidget* parent) {
    auto* scroller = new QScrollArea(parent);
    scroller->setObjectName(QLatin1String(kScroller));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(false);
    // Tab goes from control to control, and the page scrolls to each.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setAccessibleName(parent->windowTitle());
    return scroller;
}

// The page already made for the window, if any.
QScrollArea* Scroller(QWidget* window) {
    return window->findChild<QScrollArea*>(QLatin1String(kScroller), Qt::FindDirectChildrenOnly);
}

// Room for the whole window, and for the scroll bar across the way it does
// not fit where the room allows.
QSize Fitted(const QWidget* window, const QSize& whole, const QSize& room) {
    const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
    QSize wanted = whole;
    if (whole.height() > room.height())
        wanted.rwidth() += bar;
    if (whole.width() > room.width())
        wanted.rheight() += bar;
    return wanted.boundedTo(room);
}

// Moves the window's own controls onto a page the size the window had. The
// page is in the window before they move, so the window's Tab order stays.
QScrollArea* ScrollChildren(QWidget* window) {
    const QSize whole = window->size();
    QScrollArea* scroller = MakeScroller(window);
    auto* page = new QWidget(scroller->viewport());
    ShowOnlyWhatShows(page, QAccessible::Client);
    page->setFixedSize(whole);
    const QList<QWidget*> children = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (child == scroller || child->isWindow())
            continue;
        const bool shown = !child->isHidden();
        const QRect place = child->geometry();
        child->setParent(page);
        child->setGeometry(place);
        child->setVisible(shown);
    }
    scroller->setWidget(page);
    return scroller;
}

// A main window's central widget goes onto the page; its menu bar stays.
QScrollArea* ScrollCentral(QMainWindow* window) {
    QWidget* central = window->takeCentralWidget();
    QScrollArea* scroller = MakeScroller(window);
    scroller->setWidget(central);
    window->setCentralWidget(scroller);
    return scroller;
}

} // namespace

bool ScrollContentWithin(QWidget* window, const QSize& room) {
    auto* main = qobject_cast<QMainWindow*>(window);
    // A window laid out by a layout (a message box) keeps it; one that
    // scrolls a page of its own ("Разбор ответа") fits itself.
    QScrollArea* scroller = Scroller(window);
    const bool ownPage =
        !scroller && window->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
    const bool fixed = window->minimumSize() == window->maximumSize() && !ownPage &&
                       (main ? main->centralWidget() != nullptr : window->layout() == nullptr);
    if (!fixed || room.isEmpty())
        return scroller != nullptr;
    if (!scroller) {
        if (window->width() <= room.width() && window->height() <= room.height())
            return false;
        window->setProperty(kWholeSize, window->size());
        scroller = main ? ScrollCentral(main) : ScrollChildren(window);
    }
    const QSize fitted = Fitted(window, window->property(kWholeSize).toSize(), room);
    window->setFixedSize(fitted);
    if (!main)
        scroller->setGeometry(QRect(QPoint(), fitted));
    scroller->show();
    return true;
}
