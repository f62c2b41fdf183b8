// korvel-solve with a painter: what korvel-solve runs for --plot, and
// korvel-backtest too, with kBacktestMarker before its arguments.
#include "programs/cli/BacktestCommand.h"
#include "programs/cli/BacktestPicture.h"
#include "programs/cli/FrontierPicture.h"
#include "programs/cli/SolveCommand.h"
#include "programs/cli/StandardOutput.h"
#include "programs/korvel-solve-plot/FrontierPainter.h"
#include "programs/korvel-solve-plot/WealthPainter.h"

#include <QGuiApplication>

#include <iostream>

namespace {

// Qt's own notices (such as a missing runtime folder) are no business of a
// command-line user; the command reports its failures itself.
void KeepQuiet(QtMsgType, const QMessageLogContext&, const QString&) {}

constexpr const char* kBacktestMarker = "--korvel-backtest";

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(KeepQuiet);
    // Pictures are drawn into files only: no display is needed or wanted.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);  // the command's own arguments stay out of Qt's hands
    std::ios::sync_with_stdio(false);
    korvel::cli::SetFrontierPainter(&korvel::plot::PaintFrontier);
    korvel::cli::SetWealthPainter(&korvel::plot::PaintWealth);
    if (argc > 1 && std::string(argv[1]) == kBacktestMarker) {
        const std::vector<std::string> args(argv + 2, argv + argc);
        return korvel::cli::FinishStandardOutput("korvel-backtest",
                                                 korvel::cli::RunBacktestCommand(args, std::cout, std::cerr));
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    return korvel::cli::FinishStandardOutput("korvel-solve", korvel::cli::RunSolveCommand(args, std::cout, std::cerr));
}
