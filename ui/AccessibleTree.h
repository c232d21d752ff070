// What a screen reader meets of a window: the controls that show and say
// something, under roles that tell what they are.
#pragma once

#include <QAccessible>

class QAbstractItemView;
class QWidget;

// A widget that only decorates (a bevel, a frame drawn round something):
// it is never among its parent's accessible children.
void MarkDecorative(QWidget* widget);

// The container's accessible children are its child widgets but those
// marked decorative, those hidden and labels with neither text nor
// picture; as one joins or leaves them a reader is told. The container's
// own role is 'role' (a window's name stays its title unless it is given
// one). Call before anything asks for the container's accessible.
void ShowOnlyWhatShows(QWidget* container, QAccessible::Role role);

// A list or table a reader reads by the arrow keys: as it gets the focus a
// reader says its current line or cell (the first until one is chosen), and
// an arrow that moves nowhere (one line, or the end) says it again.
void ReadLinesByArrows(QAbstractItemView* list);
