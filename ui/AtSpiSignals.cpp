#include "ui/AtSpiSignals.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QEvent>
#include <QWidget>

namespace {

// An object on the bus: the connection's name and the object's path, as
// AT-SPI writes a reference, "(so)".
struct TSpiReference {
    QString Service;
    QDBusObjectPath Path;
};

} // namespace

Q_DECLARE_METATYPE(TSpiReference)

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const TSpiReference& reference) {
    argument.beginStructure();
    argument << reference.Service << reference.Path;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, TSpiReference& reference) {
    argument.beginStructure();
    argument >> reference.Service >> reference.Path;
    argument.endStructure();
    return argument;
}

// The bridge's connection to the accessibility bus, which Qt names "a11y";
// not connected while no reader is about.
QDBusConnection Bridge() {
    static const bool registered = [] {
        qDBusRegisterMetaType<TSpiReference>();
        return true;
    }();
    Q_UNUSED(registered);
    return QDBusConnection(QStringLiteral("a11y"));
}

// The path the bridge gives an object: its unique id under the prefix.
QString PathOf(QAccessibleInterface* node) {
    return QStringLiteral("/org/a11y/atspi/accessible/") +
           QString::number(QAccessible::uniqueId(node));
}

// An event of org.a11y.atspi.Event.Object as the bridge sends its own:
// detail, two numbers, any data, and the application's root.
void SendObjectEvent(QAccessibleInterface* source, const QString& member, const QString& detail,
                     int detail1, const QVariant& data) {
    QDBusConnection bus = Bridge();
    if (!bus.isConnected() || !source || !source->isValid())
        return;
    const TSpiReference root{bus.baseService(),
                             QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
    QDBusMessage signal = QDBusMessage::createSignal(
        PathOf(source), QStringLiteral("org.a11y.atspi.Event.Object"), member);
    signal.setArguments(
        {detail, detail1, 0, QVariant::fromValue(QDBusVariant(data)), QVariant::fromValue(root)});
    bus.send(signal);
}

void SendVisible(QWidget* widget, bool visible) {
    if (!QAccessible::isActive())
        return;
    SendObjectEvent(QAccessible::queryAccessibleInterface(widget), QStringLiteral("StateChanged"),
                    QStringLiteral("visible"), visible ? 1 : 0, 0);
}

// Follows the bridge's "showing", which it sends as the widget itself is
// shown or hidden (a window's minimising is not hiding).
class TVisibilityAnnouncer : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Show || type == QEvent::Hide) && !event->spontaneous() &&
            watched->isWidgetType())
            SendVisible(static_cast<QWidget*>(watched), type == QEvent::Show);
        return false;
    }
};

} // namespace

void AnnounceVisibility(QApplication& app) {
    app.installEventFilter(new TVisibilityAnnouncer(&app));
}

void SendChildrenChanged(QAccessibleInterface* parent, QAccessibleInterface* child, bool added) {
    if (!QAccessible::isActive() || !child)
        return;
    QDBusConnection bus = Bridge();
    if (!parent || !bus.isConnected())
        return;
    const TSpiReference reference{bus.baseService(), QDBusObjectPath(PathOf(child))};
    SendObjectEvent(parent, QStringLiteral("ChildrenChanged"),
                    added ? QStringLiteral("add") : QStringLiteral("remove"),
                    added ? parent->indexOfChild(child) : -1, QVariant::fromValue(reference));
}

void SayAsDescription(QAccessibleInterface* node, const QString& text) {
    if (QAccessible::isActive())
        SendObjectEvent(node, QStringLiteral("PropertyChange"),
                        QStringLiteral("accessible-description"), 0, text);
}

void Describe(QWidget* widget, const QString& text) {
    widget->setAccessibleDescription(text);
    if (QAccessible::isActive())
        SayAsDescription(QAccessible::queryAccessibleInterface(widget), text);
}
