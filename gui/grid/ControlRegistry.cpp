#include "gui/grid/ControlRegistry.h"

#include <QFileInfo>
#include <QSettings>

namespace korvel {

namespace {

QString ServerKey(const QString& classId)
{
    // Class ids compare without regard to letter case.
    return QStringLiteral("CLSID/%1/InprocServer32").arg(classId.toUpper());
}

// A fresh object each time: lookups are rare, and a fresh object always sees
// what another process or module has written.
class Store : public QSettings {
public:
    Store()
        : QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ComponentRegistry"),
                    QStringLiteral("classes"))
    {}
};

bool Flush(QSettings& store)
{
    store.sync();
    return store.status() == QSettings::NoError;
}

}  // namespace

bool RegisterControlModule(const QString& classId, const QString& modulePath)
{
    Store store;
    store.setValue(ServerKey(classId), QFileInfo(modulePath).absoluteFilePath());
    return Flush(store);
}

QString LookupControlModule(const QString& classId)
{
    Store store;
    return store.value(ServerKey(classId)).toString();
}

bool UnregisterControlModule(const QString& classId)
{
    Store store;
    store.remove(ServerKey(classId));
    return Flush(store);
}

QString ControlRegistryFile()
{
    return Store().fileName();
}

}  // namespace korvel
