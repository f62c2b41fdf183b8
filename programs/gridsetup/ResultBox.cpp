#include "ResultBox.h"

#include <QApplication>
#include <QByteArray>
#include <QGuiApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace gridsetup {

namespace {

ResultPresenter& InstalledPresenter()
{
    static ResultPresenter presenter;
    return presenter;
}

bool NonEmptyVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// Platforms on which a box can be made but nobody can see or answer it.
bool IsHeadlessPlatform(const QString& name)
{
    const QString plugin = name.section(QLatin1Char(':'), 0, 0).trimmed();
    return plugin == QLatin1String("offscreen") || plugin == QLatin1String("minimal")
           || plugin == QLatin1String("minimalegl");
}

// The platform asked for first; its options and any fallbacks left aside.
QString RequestedPlatform()
{
    return QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM")).section(QLatin1Char(';'), 0, 0);
}

bool WindowSystemNamed()
{
    return NonEmptyVariable("QT_QPA_PLATFORM") || NonEmptyVariable("DISPLAY") || NonEmptyVariable("WAYLAND_DISPLAY");
}

// Qt ends the process when no platform it is asked for can start, and a
// display that does not answer (sudo from a desktop) is such a case: the
// offscreen platform, appended as the last resort, takes over instead.
void FallBackToOffscreen()
{
    const QByteArray requested = qgetenv("QT_QPA_PLATFORM");
    QByteArray platforms = requested;
    if (platforms.isEmpty())
        platforms = NonEmptyVariable("WAYLAND_DISPLAY") ? "wayland;xcb" : "xcb";
    qputenv("QT_QPA_PLATFORM", platforms + ";offscreen");
}

void Silent(QtMsgType, const QMessageLogContext&, const QString&) {}

void WriteToStandardError(const std::string& text, const std::string& caption)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

// Made here, for the box only: the silent outcomes need no window system.
// The complaints of a platform that cannot start are not the user's concern.
std::unique_ptr<QApplication> StartApplication()
{
    static int argc = 1;
    static char name[] = "gridsetup";
    static char* argv[] = {name, nullptr};
    FallBackToOffscreen();
    const QtMessageHandler previous = qInstallMessageHandler(Silent);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    return application;
}

}  // namespace

ResultPresenter SetResultPresenter(ResultPresenter presenter)
{
    ResultPresenter previous = std::move(InstalledPresenter());
    InstalledPresenter() = std::move(presenter);
    return previous;
}

void ShowResultBox(const std::string& text, const std::string& caption)
{
    std::unique_ptr<QApplication> application;
    if (!QCoreApplication::instance()) {
        if (!WindowSystemNamed() || IsHeadlessPlatform(RequestedPlatform())) {
            WriteToStandardError(text, caption);
            return;
        }
        application = StartApplication();
    }
    if (IsHeadlessPlatform(QGuiApplication::platformName())) {
        WriteToStandardError(text, caption);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                    nullptr);
    box.exec();
}

Outcome RunGridSetup()
{
    const Outcome outcome = Install();
    if (const char* text = ResultText(outcome)) {
        const ResultPresenter& presenter = InstalledPresenter();
        if (presenter)
            presenter(text, kResultCaption);
        else
            ShowResultBox(text, kResultCaption);
    }
    return outcome;
}

}  // namespace gridsetup
