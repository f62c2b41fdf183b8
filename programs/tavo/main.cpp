#include "gui/app/TavoApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    CTavoApp app;
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments))
        return app.ExitCode();
    return QApplication::exec();
}
