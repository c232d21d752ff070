// The windows' two looks: the layouts' own colours and sizes, the default,
// and "Крупно и контрастно" for a pupil who sees poorly: every text and its
// ground in colours of the program's own, at least 7:1 apart (4.5:1 for a
// greyed control's text), and texts up to a quarter larger wherever their
// room allows (LargeText.h). The layout colours each widget was given are
// kept, so the look can change back and forth at any time.
#pragma once

#include <QColor>
#include <QPalette>

#include <initializer_list>

class QWidget;

enum class TLook {
    Layout,        // the specified colours and sizes
    LargeContrast, // "Крупно и контрастно"
};

TLook CurrentLook();
// Dresses every widget in the look, and every widget given a colour or
// shown later.
void SetLook(TLook look);

// The look the user chose last (the setting LargeContrast in the user's own
// Formulon.conf), and keeping a choice there. Off unless chosen.
TLook StoredLook();
void StoreLook(TLook look);

// Gives the widget the layout's colour for the roles (in one colour group,
// or all) and draws it in the current look's colour for each.
void SetLayoutColour(QWidget* widget, std::initializer_list<QPalette::ColorRole> roles,
                     const QColor& colour);
void SetLayoutColour(QWidget* widget, QPalette::ColorGroup group,
                     std::initializer_list<QPalette::ColorRole> roles, const QColor& colour);

// How far apart two colours are for the eye: 1 (the same) to 21 (black and
// white), as the web's accessibility guidelines reckon it.
double ContrastRatio(const QColor& a, const QColor& b);

// The colours that mark a place in a typed answer (a hint's, a mistake's).
struct TMarkColours {
    QColor Ground;
    QColor Ink;
};
TMarkColours MarkColours();
