// A window of a fixed size on a screen too small for it: its content
// scrolls inside the room there is, the way "Разбор ответа" scrolls its
// page, so that nothing of it lies off the screen. Where it fits nothing
// changes, not even which widget holds which.
#pragma once

#include <QSize>

class QWidget;

// When the fixed-size window is larger than 'room' (the available area
// less its frame), it shrinks to fit and its content moves onto a page
// that scrolls; a main window keeps its menu bar. Controls keep their
// places on the page, the keys stay where they are, and Tab scrolls to the
// control it reaches. Returns whether the content scrolls now.
bool ScrollContentWithin(QWidget* window, const QSize& room);
