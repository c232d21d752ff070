#include "ui/SilentLabel.h"

#include <QAccessibleWidget>

namespace {

// No name, description or value, and no text interface to read instead.
class TSilentAccessible : public QAccessibleWidget {
public:
    explicit TSilentAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::NoRole) {}
    QString text(QAccessible::Text) const override { return {}; }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

QAccessibleInterface* SilentAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("TSilentLabel") && object && object->isWidgetType())
        return new TSilentAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

// The factory is in place before anything can ask for this label's
// interface, which is made once and then kept.
TSilentLabel::TSilentLabel(QWidget* parent) : QLabel(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(SilentAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
