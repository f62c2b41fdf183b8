#include "programs/cli/BacktestOutput.h"

#include "programs/cli/OutputFormat.h"

#include <algorithm>

namespace korvel::cli {
namespace {

using backtest::Performance;
using backtest::Rebalance;

struct Figure {
    const char* label;
    const char* key;
    double Performance::*value;
};

constexpr Figure kFigures[] = {
    {"Average return", "averageReturn", &Performance::averageReturn},
    {"Mean abs. deviation", "meanAbsoluteDeviation", &Performance::meanAbsoluteDeviation},
    {"Worst period", "worstPeriod", &Performance::worstPeriod},
    {"Max. drawdown", "maxDrawdown", &Performance::maxDrawdown},
    {"Turnover", "turnover", &Performance::turnover},
};

std::string Padded(std::string text, size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

std::string Heading(const BacktestResult& r) {
    const backtest::Setup& s = r.setup;
    return "Rolling backtest, " + s.goal + ": window " + std::to_string(s.window) + ", every " + std::to_string(s.every)
           + ", " + std::to_string(r.rebalances.size()) + " rebalances, " + std::to_string(r.strategy.returns.size())
           + " periods out of sample, cost " + NumberText(s.costBps) + " basis points\n";
}

std::string UnreachedNote(const BacktestResult& r) {
    if (r.unreached == 0)
        return "";
    return std::to_string(r.unreached) + " of " + std::to_string(r.rebalances.size())
           + " windows reached no portfolio of the Min Return and held equal weights.\n";
}

std::string RebalanceLine(const BacktestResult& r, const Rebalance& rebalance) {
    std::string line = Padded(rebalance.at ? PeriodLabel(r.setup, rebalance.at - 1) : "", 12) + " ";
    if (!rebalance.reached)
        return line + "equal weights (no portfolio reached the Min Return)\n";
    const std::vector<double>& weights = rebalance.strategy.target;
    for (size_t i = 0; i < weights.size(); ++i)
        if (weights[i] != 0.0)
            line += " " + NameText(r.setup.names[i]) + " " + NumberText(weights[i]);
    return line + "\n";
}

void AppendSeries(std::string& out, const char* key, const Performance& p) {
    out += "\"";
    out += key;
    out += "\": {";
    for (const Figure& figure : kFigures) {
        out += "\"";
        out += figure.key;
        out += "\": ";
        AppendJsonNumber(out, p.*figure.value);
        out += ", ";
    }
    for (const auto& [name, values] : {std::pair{"returns", &p.returns}, std::pair{"wealth", &p.wealth}}) {
        out += std::string("\"") + name + "\": [";
        for (size_t k = 0; k < values->size(); ++k) {
            out += k ? ", " : "";
            AppendJsonNumber(out, (*values)[k]);
        }
        out += name == std::string("returns") ? "], " : "]}";
    }
}

void AppendJsonRebalance(std::string& out, const backtest::Setup& setup, const Rebalance& rebalance) {
    if (setup.dates.empty()) {
        out += "{\"period\": " + std::to_string(rebalance.at);
    } else {
        out += "{\"date\": ";
        AppendJsonString(out, setup.dates[static_cast<size_t>(rebalance.at - 1)]);
    }
    out += std::string(", \"reached\": ") + (rebalance.reached ? "true" : "false") + ", \"weights\": [";
    bool first = true;
    for (size_t i = 0; i < rebalance.strategy.target.size(); ++i) {
        if (rebalance.strategy.target[i] == 0.0)
            continue;
        out += first ? "{\"name\": " : ", {\"name\": ";
        first = false;
        AppendJsonString(out, setup.names[i]);
        out += ", \"weight\": ";
        AppendJsonNumber(out, rebalance.strategy.target[i]);
        out += ", \"row\": " + std::to_string(i + 1) + "}";
    }
    out += "]}";
}

}  // namespace

BacktestResult Evaluate(const backtest::Part& whole) {
    BacktestResult result{whole.setup, whole.rebalances, {}, {}, 0};
    result.strategy = backtest::Evaluate(whole.rebalances, &Rebalance::strategy, whole.setup.costBps);
    result.equal = backtest::Evaluate(whole.rebalances, &Rebalance::equal, whole.setup.costBps);
    result.unreached = static_cast<int32_t>(
        std::count_if(whole.rebalances.begin(), whole.rebalances.end(), [](const Rebalance& r) { return !r.reached; }));
    return result;
}

std::string PeriodLabel(const backtest::Setup& setup, int32_t period) {
    return setup.dates.empty() ? "period " + std::to_string(period + 1)
                               : NameText(setup.dates[static_cast<size_t>(period)]);
}

std::string FormatBacktestText(const BacktestResult& r) {
    std::string out = Heading(r) + "\n" + Padded("", 21) + Padded("Strategy", 24) + "Equal weights\n";
    for (const Figure& figure : kFigures)
        out += Padded(figure.label, 21) + Padded(NumberText(r.strategy.*figure.value), 24)
               + NumberText(r.equal.*figure.value) + "\n";
    out += Padded("Final wealth", 21) + Padded(NumberText(r.strategy.wealth.back()), 24)
           + NumberText(r.equal.wealth.back()) + "\n";
    out += "\n" + UnreachedNote(r) + "Rebalances, with the weights held:\n";
    for (const Rebalance& rebalance : r.rebalances)
        out += RebalanceLine(r, rebalance);
    return out;
}

std::string FormatBacktestCsv(const BacktestResult& r) {
    std::string out = "Period,Date,Strategy return,Strategy wealth,Equal-weight return,Equal-weight wealth\n";
    const int32_t first = r.setup.window;
    for (size_t k = 0; k < r.strategy.returns.size(); ++k) {
        const size_t period = static_cast<size_t>(first) + k;
        out += std::to_string(period + 1) + ",";
        if (!r.setup.dates.empty())
            out += NameText(r.setup.dates[period]);
        out += "," + NumberText(r.strategy.returns[k]) + "," + NumberText(r.strategy.wealth[k]) + ","
               + NumberText(r.equal.returns[k]) + "," + NumberText(r.equal.wealth[k]) + "\n";
    }
    return out;
}

std::string FormatBacktestJson(const BacktestResult& r) {
    const backtest::Setup& s = r.setup;
    std::string out = "{\"goal\": ";
    AppendJsonString(out, s.goal);
    out += ", \"window\": " + std::to_string(s.window) + ", \"every\": " + std::to_string(s.every) + ", \"cost\": ";
    AppendJsonNumber(out, s.costBps);
    out += ", \"unreached\": " + std::to_string(r.unreached) + ", ";
    AppendSeries(out, "strategy", r.strategy);
    out += ", ";
    AppendSeries(out, "equalWeight", r.equal);
    out += ", \"rebalances\": [";
    for (size_t k = 0; k < r.rebalances.size(); ++k) {
        out += k ? ", " : "";
        AppendJsonRebalance(out, s, r.rebalances[k]);
    }
    return out + "]}\n";
}

}  // namespace korvel::cli
