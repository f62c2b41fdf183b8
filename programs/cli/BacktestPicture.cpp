#include "programs/cli/BacktestPicture.h"

#include <ostream>

namespace korvel::cli {
namespace {

WealthPainter g_painter = nullptr;

}  // namespace

void SetWealthPainter(WealthPainter painter) {
    g_painter = painter;
}

bool DrawWealth(const BacktestResult& result, const std::string& path, std::ostream& err) {
    std::string error;
    if (!g_painter)
        error = "--plot needs korvel-solve-plot, installed with korvel-backtest";
    else if (!g_painter(result, path, PictureKindOf(path), error))
        error = path + ": " + error;
    else
        return true;
    err << "korvel-backtest: " << error << "\n";
    return false;
}

}  // namespace korvel::cli
