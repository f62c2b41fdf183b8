#pragma once
// The per-user control registry: which module file provides a control class.
// Kept as an INI file in the user's configuration folder
// ($XDG_CONFIG_HOME/ComponentRegistry/classes.ini, else ~/.config/...), under
// the key "CLSID/<class id>/InprocServer32". Shared by the control module,
// which registers itself, and by CMSFlexGrid, which looks controls up.
#include <QString>

namespace korvel {

// Records modulePath (made absolute) for classId; false when the store could
// not be written.
bool RegisterControlModule(const QString& classId, const QString& modulePath);
// The module file registered for classId, or an empty string.
QString LookupControlModule(const QString& classId);
bool UnregisterControlModule(const QString& classId);
// The file that holds the registry, for messages that must say where.
QString ControlRegistryFile();

}  // namespace korvel
