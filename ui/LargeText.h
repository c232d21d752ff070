// "Крупно": in the large look (Look.h) each text is drawn up to a quarter
// larger than its layout sets it, as far as its room allows: a button's,
// a box's or a list's text within the control as laid out, a label's also
// in the free room right of and below it, clear of every other control's
// text. A text with no room to grow keeps its size, so no layout changes
// and nothing is cut. A box's title keeps its size: its controls take
// their font from the box. Back in the layout's look every text has the
// font and place the layout gave it.
#pragma once

class QApplication;
class QWidget;

// Whether texts grow: the large look's part here, set by SetLook (Look.h)
// before it fits the texts again.
void SetTextsLarge(bool large);

// The pixels of a text the layout sets at 'pixels', in the current look:
// for a window that sizes a text itself to fit.
int LookPixels(int pixels);

// The widget's text at its size in the current look.
void FitTextsToLook(QWidget* widget);

// Fits texts again as widgets show, move or change size and as labels
// change their text; nothing while the layout's look is on.
void KeepTextsFitted(QApplication& app);

// The window sizes this text itself (with LookPixels): fitting leaves it.
void SizesItsOwnText(QWidget* widget);
