// How the program's windows meet the window manager: the title-bar buttons
// each offers, windows that must stay on screen, and the activation a modal
// window hands back when it closes.
#pragma once

class QApplication;
class QWidget;

// The title-bar buttons a window offers.
enum class TTitleButtons {
    None,  // a title bar without buttons: not closed, minimised or maximised
    Close, // the close button and the window menu, nothing else
};

// Gives the window exactly these buttons wherever the window manager reads
// _MOTIF_WM_HINTS (X11): Qt cannot say "a title without buttons", and it
// always offers resizing. Written each time the window is shown, before it
// is mapped; other platforms keep what the window flags say.
void SetTitleButtons(QWidget* window, TTitleButtons buttons);

// A window that replaces the main window: should the window manager
// minimise it anyway, it comes straight back, since nothing else of the
// program would be left on screen.
void KeepFromMinimising(QWidget* window);

// When a modal window closes, the window that was active under it is
// activated again, so the keyboard goes back where it was even without a
// window manager (which would otherwise leave no window with the focus).
void ReturnActivationAfterModals(QApplication& app);
