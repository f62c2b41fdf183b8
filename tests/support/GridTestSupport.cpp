#include "support/GridTestSupport.h"

#include <QDir>
#include <QLibrary>
#include <QtGlobal>

#include "gui/grid/FlexGridControl.h"

namespace korvel::test {

IsolatedHome::IsolatedHome() : m_dir(std::make_unique<QTemporaryDir>())
{
    const QString home = m_dir->path();
    const auto point = [&](const char* variable, const QString& sub) {
        const QString path = sub.isEmpty() ? home : home + QLatin1Char('/') + sub;
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    };
    point("HOME", {});
    point("XDG_CONFIG_HOME", QStringLiteral(".config"));
    point("XDG_DATA_HOME", QStringLiteral(".local/share"));
    point("XDG_CACHE_HOME", QStringLiteral(".cache"));
    point("XDG_RUNTIME_DIR", QStringLiteral("runtime"));
    QFile::setPermissions(home + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

IsolatedHome::~IsolatedHome() = default;

QString IsolatedHome::Path() const
{
    return m_dir->path();
}

void UseOffscreenPlatformByDefault()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString GridControlModulePath()
{
    QString binDir = qEnvironmentVariable("KORVEL_BIN_DIR");
    if (binDir.isEmpty())
        binDir = QStringLiteral(KORVEL_BIN_DIR);
    return QDir(binDir).absoluteFilePath(QStringLiteral("Msflxgrd.ocx"));
}

bool RegisterGridControlForTests()
{
    QLibrary module(GridControlModulePath());
    if (!module.load())
        return false;
    const auto registerServer = reinterpret_cast<FlexGridRegisterFn>(module.resolve(kFlexGridRegisterEntry));
    // The module stays loaded: grids made later reuse it.
    return registerServer && registerServer() == 0;
}

}  // namespace korvel::test
