// A line of text that works as a link: blue and underlined, reached with
// Tab, pressed with a click, Enter or Space; a screen reader announces it as
// a link by its accessible name, with a "press" action.
#pragma once

#include "ui/PressLabel.h"

class TLinkLabel : public TPressLabel {
    Q_OBJECT
public:
    // Blue and underlined in the parent's font family at 'pixels'; its
    // accessible name is the text. The focus frame runs along the label's
    // edges: the link's line of text may fill the rest.
    TLinkLabel(const QString& text, int pixels, QWidget* parent);
};
