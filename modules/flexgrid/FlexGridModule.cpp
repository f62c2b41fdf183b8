// The module's two entry points: self-registration and the control factory.
#include "gui/grid/ControlRegistry.h"
#include "gui/grid/FlexGridControl.h"
#include "modules/flexgrid/FlexGridWidget.h"

#include <QApplication>
#include <QFile>
#include <QString>
#include <dlfcn.h>

namespace {

// The file this code was loaded from, as the loader knows it.
QString ThisModulePath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ThisModulePath), &info) == 0 || !info.dli_fname)
        return {};
    return QFile::decodeName(info.dli_fname);
}

}  // namespace

extern "C" Q_DECL_EXPORT int DllRegisterServer()
{
    const QString path = ThisModulePath();
    if (path.isEmpty())
        return 1;
    return korvel::RegisterControlModule(QString::fromLatin1(kFlexGridClassId), path) ? 0 : 1;
}

extern "C" Q_DECL_EXPORT IFlexGridControl* FlexGridCreateControl(const char* classId, QWidget* parent)
{
    if (!classId
        || QString::fromLatin1(classId).compare(QString::fromLatin1(kFlexGridClassId), Qt::CaseInsensitive) != 0)
        return nullptr;
    // Widgets need a running application object; without one, refuse cleanly.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    return new korvel::grid::FlexGridWidget(parent);
}
