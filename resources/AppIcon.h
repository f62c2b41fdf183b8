#pragma once
// The program icon of Korvel (resource 128), for the main window and the dialogs.
#include <QIcon>

namespace korvel {

// Needs a QGuiApplication. Built once, in several sizes.
QIcon AppIcon();

}  // namespace korvel
