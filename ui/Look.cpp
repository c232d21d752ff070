#include "ui/Look.h"

#include "ui/LargeText.h"

#include <QApplication>
#include <QSettings>
#include <QVariantMap>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

const char kColours[] = "formulonLayoutColours";
const char kSetting[] = "LargeContrast";

TLook& Current() {
    static TLook look = TLook::Layout;
    return look;
}

// The application's palette as the style made it: the layouts' default.
QPalette& LayoutPalette() {
    static QPalette palette = QApplication::palette();
    return palette;
}

double Channel(int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
    return 0.2126 * Channel(colour.red()) + 0.7152 * Channel(colour.green()) +
           0.0722 * Channel(colour.blue());
}

QColor Mix(const QColor& a, const QColor& b, double share) {
    const auto mix = [share](int x, int y) { return static_cast<int>(x + (y - x) * share + 0.5); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

bool Light(const QColor& colour) {
    return Luminance(colour) >= 0.18;
}

// A ground keeps a hint of its hue, pale when it was light, deep when dark,
// so the parts of a window still stand apart.
QColor ContrastGround(const QColor& layout) {
    return Light(layout) ? Mix(layout, Qt::white, 0.75) : Mix(layout, Qt::black, 0.5);
}

// The text's own hue, darker over a light ground or lighter over a dark one
// until the two are far enough apart; black or white once little of the
// hue would be left.
QColor ContrastText(const QColor& layout, const QColor& ground, double ratio) {
    const QColor end = Light(ground) ? QColor(Qt::black) : QColor(Qt::white);
    for (double share = 0; share <= 0.55; share += 0.01) {
        const QColor text = Mix(layout, end, share);
        if (ContrastRatio(text, ground) >= ratio)
            return text;
    }
    return end;
}

bool IsGround(QPalette::ColorRole role) {
    switch (role) {
    case QPalette::Window:
    case QPalette::Base:
    case QPalette::AlternateBase:
    case QPalette::Button:
    case QPalette::ToolTipBase:
    case QPalette::Highlight:
        return true;
    default:
        return false;
    }
}

// The ground a text role is drawn over; Window for a role that is neither.
QPalette::ColorRole GroundOf(QPalette::ColorRole text) {
    switch (text) {
    case QPalette::Text:
    case QPalette::PlaceholderText:
    case QPalette::Link:
    case QPalette::LinkVisited:
        return QPalette::Base;
    case QPalette::ButtonText:
        return QPalette::Button;
    case QPalette::ToolTipText:
        return QPalette::ToolTipBase;
    case QPalette::HighlightedText:
        return QPalette::Highlight;
    default:
        return QPalette::Window;
    }
}

bool IsText(QPalette::ColorRole role) {
    return !IsGround(role) && (role == QPalette::WindowText || GroundOf(role) != QPalette::Window ||
                               role == QPalette::BrightText);
}

QString Key(QPalette::ColorGroup group, QPalette::ColorRole role) {
    return QString::number(group) + QLatin1Char(':') + QString::number(role);
}

// The layout's colour of the role behind the widget: its own, or its
// parents', or the application's.
QColor LayoutColour(const QWidget* widget, QPalette::ColorGroup group, QPalette::ColorRole role) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariantMap colours = w->property(kColours).toMap();
        for (const QPalette::ColorGroup g : {group, QPalette::All})
            if (const auto it = colours.find(Key(g, role)); it != colours.end())
                return it->value<QColor>();
        if (w->isWindow())
            break;
    }
    return LayoutPalette().color(group == QPalette::All ? QPalette::Active : group, role);
}

// A chosen line's ground is deep, so the picture of a chosen task keeps its
// ink; any other ground is as ContrastGround makes it.
QColor GroundShown(QPalette::ColorRole role, const QColor& layout) {
    return role == QPalette::Highlight ? Mix(layout, Qt::black, 0.5) : ContrastGround(layout);
}

// The colour a layout colour of the role is drawn in; 'ground' gives the
// layout's ground behind a text.
template <class TGround>
QColor Shown(const QColor& layout, QPalette::ColorGroup group, QPalette::ColorRole role,
             const TGround& ground) {
    if (Current() == TLook::Layout || !(IsGround(role) || IsText(role)))
        return layout;
    if (IsGround(role))
        return GroundShown(role, layout);
    return ContrastText(layout, GroundShown(GroundOf(role), ground()),
                        group == QPalette::Disabled ? 4.5 : 7);
}

void ApplyColours(QWidget* widget) {
    const QVariantMap colours = widget->property(kColours).toMap();
    if (colours.isEmpty())
        return;
    QPalette palette = widget->palette();
    for (auto it = colours.begin(); it != colours.end(); ++it) {
        const auto group = static_cast<QPalette::ColorGroup>(it.key().section(':', 0, 0).toInt());
        const auto role = static_cast<QPalette::ColorRole>(it.key().section(':', 1, 1).toInt());
        const auto ground = [&] { return LayoutColour(widget, group, GroundOf(role)); };
        palette.setColor(group, role, Shown(it->value<QColor>(), group, role, ground));
    }
    if (palette != widget->palette() || palette.resolveMask() != widget->palette().resolveMask())
        widget->setPalette(palette);
}

// The application's palette in the look, for every widget of no colours of
// its own (menus, message boxes, ordinary buttons).
QPalette ApplicationPalette() {
    const QPalette& layout = LayoutPalette();
    if (Current() == TLook::Layout)
        return layout;
    QPalette palette = layout;
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto role = static_cast<QPalette::ColorRole>(r);
            const auto ground = [&] { return layout.color(group, GroundOf(role)); };
            palette.setColor(group, role, Shown(layout.color(group, role), group, role, ground));
        }
    return palette;
}

} // namespace

TLook CurrentLook() {
    return Current();
}

void SetLook(TLook look) {
    LayoutPalette(); // kept before the first change
    if (look == Current())
        return;
    Current() = look;
    SetTextsLarge(look == TLook::LargeContrast);
    QApplication::setPalette(ApplicationPalette());
    for (QWidget* widget : QApplication::allWidgets()) {
        ApplyColours(widget);
        FitTextsToLook(widget);
    }
}

TLook StoredLook() {
    const QSettings settings(QSettings::UserScope, QStringLiteral("Formulon"),
                             QStringLiteral("Formulon"));
    return settings.value(QLatin1String(kSetting), false).toBool() ? TLook::LargeContrast
                                                                   : TLook::Layout;
}

void StoreLook(TLook look) {
    QSettings settings(QSettings::UserScope, QStringLiteral("Formulon"),
                       QStringLiteral("Formulon"));
    settings.setValue(QLatin1String(kSetting), look == TLook::LargeContrast);
}

void SetLayoutColour(QWidget* widget, QPalette::ColorGroup group,
                     std::initializer_list<QPalette::ColorRole> roles, const QColor& colour) {
    QVariantMap colours = widget->property(kColours).toMap();
    for (const QPalette::ColorRole role : roles)
        colours.insert(Key(group, role), colour);
    widget->setProperty(kColours, colours);
    ApplyColours(widget);
}

void SetLayoutColour(QWidget* widget, std::initializer_list<QPalette::ColorRole> roles,
                     const QColor& colour) {
    SetLayoutColour(widget, QPalette::All, roles, colour);
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double first = Luminance(a);
    const double second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

TMarkColours MarkColours() {
    if (Current() == TLook::Layout)
        return {QColor(255, 255, 0), QColor(255, 0, 0)};
    return {QColor(255, 255, 0), QColor(Qt::black)};
}
