// What Qt's AT-SPI bridge leaves unsaid, said on the bridge's own
// connection so that a screen reader takes it for the program's word.
//
// Qt tells a reader that a shown widget is "showing" but never that it is
// "visible". A reader that keeps what it was told (Orca does) goes on
// taking a widget it first met hidden (the main window's task box before
// "Начать", a table in a window shown again) for invisible, and leaves it
// out of what it reads. Nor can Qt tell a reader that a child left the
// tree while its object lives on.
#pragma once

class QAccessibleInterface;
class QApplication;
class QString;
class QWidget;

// Every widget shown or hidden from now on says "visible" as it says
// "showing". Does nothing while no reader listens.
void AnnounceVisibility(QApplication& app);

// The child joined (added) or left its parent's accessible children.
void SendChildrenChanged(QAccessibleInterface* parent, QAccessibleInterface* child, bool added);

// Tells a reader that the object's description is now 'text': it speaks
// the text while the object has the focus.
void SayAsDescription(QAccessibleInterface* node, const QString& text);

// Gives the widget its accessible description and tells a reader the new
// text, which it speaks while the widget has the focus, even when the text
// is the one it had. Qt's own word of the change carries no text, and a
// reader cannot speak it.
void Describe(QWidget* widget, const QString& text);
