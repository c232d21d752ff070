#include "ui/AccessibleTree.h"

#include "ui/AtSpiSignals.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

const char kDecorative[] = "formulonDecorative";
const char kPrunedRole[] = "formulonPrunedRole";

bool Says(const QWidget* child) {
    const auto* label = qobject_cast<const QLabel*>(child);
    return !label || !label->text().isEmpty() || !label->pixmap().isNull();
}

// The children a reader meets, in the order the container holds them. As
// Qt's own, never a window (a hidden control kept out of reach is one), a
// menu or the focus frame.
QList<QWidget*> Shown(const QWidget* container) {
    QList<QWidget*> shown;
    for (QObject* object : container->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow() && !child->isHidden() && !qobject_cast<QMenu*>(child) &&
            !qobject_cast<QFocusFrame*>(child) && !child->property(kDecorative).toBool() &&
            Says(child))
            shown << child;
    }
    return shown;
}

class TPrunedAccessible : public QAccessibleWidget {
public:
    TPrunedAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    int childCount() const override { return static_cast<int>(Shown(widget()).size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = Shown(widget());
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(Shown(widget()).indexOf(child->object())) : -1;
    }
};

QAccessibleInterface* PrunedAccessible(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(kPrunedRole);
    if (!role.isValid())
        return nullptr;
    return new TPrunedAccessible(static_cast<QWidget*>(object),
                                 static_cast<QAccessible::Role>(role.toInt()));
}

// Tells a reader which children joined or left, whenever a child comes or
// goes, shows or hides, or changes its text (a label asks its parent to lay
// it out again then). Looked at once the events of the moment are done.
class TChildWatcher : public QObject {
public:
    explicit TChildWatcher(QWidget* container) : QObject(container), container_(container) {
        container->installEventFilter(this);
        for (QObject* child : container->children())
            child->installEventFilter(this);
        known_ = Known(Shown(container));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ChildAdded:
            if (watched == container_)
                static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
            Look();
            break;
        case QEvent::ChildRemoved:
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
        case QEvent::LayoutRequest:
            Look();
            break;
        default:
            break;
        }
        return false;
    }

private:
    using TKnown = QList<QPointer<QWidget>>;
    static TKnown Known(const QList<QWidget*>& widgets) { return {widgets.begin(), widgets.end()}; }

    void Look() {
        if (!pending_)
            QTimer::singleShot(0, this, [this] { Compare(); });
        pending_ = true;
    }

    void Compare() {
        pending_ = false;
        const QList<QWidget*> now = Shown(container_);
        const TKnown before = known_;
        known_ = Known(now);
        if (!QAccessible::isActive() || !container_->isVisible())
            return;
        QAccessibleInterface* parent = QAccessible::queryAccessibleInterface(container_);
        for (const QPointer<QWidget>& child : before)
            if (child && !now.contains(child.data()))
                SendChildrenChanged(parent, QAccessible::queryAccessibleInterface(child), false);
        for (QWidget* child : now)
            if (!before.contains(child))
                SendChildrenChanged(parent, QAccessible::queryAccessibleInterface(child), true);
    }

    QWidget* container_;
    TKnown known_;
    bool pending_ = false;
};

} // namespace

void MarkDecorative(QWidget* widget) {
    widget->setProperty(kDecorative, true);
}

void ShowOnlyWhatShows(QWidget* container, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(PrunedAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    container->setProperty(kPrunedRole, static_cast<int>(role));
    // One made before (a child's event under a running reader asks for its
    // parent) gives way to this one.
    if (QAccessible::isActive()) {
        QAccessibleInterface* made = QAccessible::queryAccessibleInterface(container);
        if (made && !dynamic_cast<TPrunedAccessible*>(made))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
    new TChildWatcher(container);
}

namespace {

// Keys that move within a list.
bool MovesInList(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

// The accessible of a view's cell: Qt's own count of a table's children
// leaves hidden header views out, where its table's count keeps them.
QAccessibleInterface* CellOf(QAbstractItemView* view, const QModelIndex& index) {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface* cells = table ? table->tableInterface() : nullptr;
    return cells && index.isValid() ? cells->cellAt(index.row(), index.column()) : nullptr;
}

class TLineReader : public QObject {
public:
    explicit TLineReader(QAbstractItemView* list) : QObject(list), list_(list) {
        list->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        // Qt says the list's current line has the focus, and then the list
        // itself: a reader goes back to the list and says only how many
        // lines it has. The line is said to have it once more, last.
        if (event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, this, [this] {
                if (list_->hasFocus())
                    FocusLine(list_->currentIndex());
            });
        if (event->type() == QEvent::KeyPress &&
            MovesInList(static_cast<QKeyEvent*>(event)->key())) {
            const QPersistentModelIndex line = list_->currentIndex();
            QTimer::singleShot(0, this, [this, line] {
                if (line.isValid() && list_->currentIndex() == line && list_->hasFocus())
                    SayAgain(line);
            });
        }
        return false;
    }

private:
    void FocusLine(const QModelIndex& line) {
        if (!QAccessible::isActive())
            return;
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list_);
        QAccessibleInterface* cell = CellOf(list_, line);
        if (!view || !cell)
            return;
        QAccessibleEvent focus(list_, QAccessible::Focus);
        focus.setChild(view->indexOfChild(cell));
        QAccessible::updateAccessibility(&focus);
    }

    void SayAgain(const QModelIndex& line) {
        if (QAccessibleInterface* cell = CellOf(list_, line))
            SayAsDescription(cell, cell->text(QAccessible::Name));
    }

    QAbstractItemView* list_;
};

} // namespace

void ReadLinesByArrows(QAbstractItemView* list) {
    new TLineReader(list);
}
