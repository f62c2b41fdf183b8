#include "ResultBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <optional>

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

// Qt ends the process when no platform can start; gridsetup must end with 0.
bool WindowSystemReachable()
{
    return NonEmptyVariable("QT_QPA_PLATFORM") || NonEmptyVariable("DISPLAY") ||
           NonEmptyVariable("WAYLAND_DISPLAY");
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
    if (!QCoreApplication::instance() && !WindowSystemReachable()) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return;
    }
    // Made here, for the box only: the silent outcomes need no window system.
    static int argc = 1;
    static char name[] = "gridsetup";
    static char* argv[] = {name, nullptr};
    std::optional<QApplication> application;
    if (!QCoreApplication::instance())
        application.emplace(argc, argv);
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, nullptr);
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
