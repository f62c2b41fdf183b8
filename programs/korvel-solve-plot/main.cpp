// korvel-solve with a painter: what korvel-solve runs for --plot.
#include "programs/cli/FrontierPicture.h"
#include "programs/cli/SolveCommand.h"
#include "programs/cli/StandardOutput.h"
#include "programs/korvel-solve-plot/FrontierPainter.h"

#include <QGuiApplication>

#include <iostream>

namespace {

// Qt's own notices (such as a missing runtime folder) are no business of a
// command-line user; the command reports its failures itself.
void KeepQuiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(KeepQuiet);
    // Pictures are drawn into files only: no display is needed or wanted.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);  // the command's own arguments stay out of Qt's hands
    std::ios::sync_with_stdio(false);
    korvel::cli::SetFrontierPainter(&korvel::plot::PaintFrontier);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return korvel::cli::FinishStandardOutput("korvel-solve", korvel::cli::RunSolveCommand(args, std::cout, std::cerr));
}
