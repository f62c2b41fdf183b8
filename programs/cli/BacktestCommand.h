#pragma once
// korvel-backtest: a rolling out-of-sample backtest of korvel-solve's
// portfolios against equal weights, whole, in parts, or joined from parts.
#include <iosfwd>
#include <string>
#include <vector>

namespace korvel::cli {

struct BacktestOptions;
// Returns the exit status; results go to out, reasons for failure to err.
int RunBacktestCommand(const BacktestOptions& options, std::ostream& out, std::ostream& err);
int RunBacktestCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korvel::cli
