// The look the windows share: pixel-sized fonts, the old runtime's named
// colours and the oval button.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

class QApplication;
class QGroupBox;
class QPushButton;
class QRect;
class QWidget;

// Font styles, combined with |.
enum TFontStyle : unsigned {
    kRegular = 0,
    kBold = 1,
    kItalic = 2,
    kUnderline = 4,
};

// A font of that family sized in pixels, as the layouts give sizes.
QFont PixelFont(const QString& family, int pixels, unsigned styles = kRegular);

// The old runtime's named colours the layouts use.
inline const QColor clAqua(0, 255, 255);
inline const QColor clBlue(0, 0, 255);
inline const QColor clCream(255, 251, 240);
inline const QColor clGray(128, 128, 128);
inline const QColor clGreen(0, 128, 0);
inline const QColor clLime(0, 255, 0);
inline const QColor clNavy(0, 0, 128);
inline const QColor clPurple(128, 0, 128);
inline const QColor clRed(255, 0, 0);
inline const QColor clSilver(192, 192, 192);
inline const QColor clWhite(255, 255, 255);
inline const QColor clYellow(255, 255, 0);

// Gives the widget its font as it is first shown. A line edit lays its text
// out, and so loads the font, as soon as the font is set: one that starts
// hidden need not make the start wait for a font it does not show yet.
void SetFontWhenShown(QWidget* widget, const QFont& font);

// The colour of the widget's texts (labels, boxes and buttons alike), as
// the layout gives it; the look in force draws it (Look.h).
void SetTextColour(QWidget* widget, const QColor& colour);

// A filled background of that colour, as the layout gives it.
void SetBackground(QWidget* widget, const QColor& colour);

// Clips the button to the ellipse inscribed in (10, 10)-(190, 60): only it
// paints and takes clicks.
void MakeOvalButton(QPushButton* button);

// A group box whose whole inside shows its background colour: the frame is
// an etched line, never the style's tinted panel.
void MakePlainGroupBox(QGroupBox* box);

// Centres the window on its screen at its present size.
void CentreOnScreen(QWidget* window);

// Where a window's frame goes so that all of it lies within the available
// area; a frame larger than the area keeps its title bar's corner in view.
QPoint OnScreenPosition(const QRect& frame, const QRect& available);

// Where a window that wants 'whole' (its frame not counted) goes over the
// window it is opened from: the size it gets, all of it when the screen's
// available area holds it with its frame, else as much as it holds (a page
// within it then scrolls), and where its frame goes, centred on the opener
// and wholly on the opener's screen. No opener: centred on its own screen.
struct TFittedPlace {
    QSize Size;
    QPoint FramePosition;
};
TFittedPlace FitOverOpener(const QWidget* window, const QSize& whole, const QWidget* opener);

// Every top-level window, as it is shown, moves just far enough to lie
// within the available area of the screen it opens on; a fixed-size window
// larger than that area scrolls its content within it (ScrollingWindow.h).
void KeepWindowsOnScreen(QApplication& app);

// The style in use, unchanged to the eye, made so that a window's first
// frame reads no picture through Qt's image plugins. QPixmap and QIcon load
// every image format plugin before they read any picture (one might claim
// its format), and the main window's first frame would wait for them: the
// menu bar's extension button icon, which Qt makes with every menu bar, is
// read on its first use instead, and the picture Fusion draws group box
// frames from is read now, with no plugin in reach. Call before any widget
// exists.
void KeepImagePluginsOffTheFirstFrame();
