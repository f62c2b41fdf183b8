#pragma once
// The program icon of Korvel (resource 128), for the main window and the dialogs.
#include <QIcon>
#include <QPixmap>

namespace korvel {

// Needs a QGuiApplication. Built once, in several sizes.
QIcon AppIcon();

// The same design painted at size x size pixels; the installed icon files are
// made from it, so that the desktop shows what the windows show.
QPixmap AppIconPixmap(int size);

}  // namespace korvel
