#pragma once
// The images of the toolbar buttons, drawn for Korvel: 16 x 15 pixels on the
// main toolbar, 16 x 16 on the action toolbar.
#include <QPixmap>

namespace korvel {

// The image of a command's button; a null pixmap for a command without one.
QPixmap ToolbarButtonImage(int commandId);

}  // namespace korvel
