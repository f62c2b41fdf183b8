#include "optimizer/core/PortfolioCheck.h"

#include "optimizer/core/Validation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvel {
namespace {

// A float weight is within 2^-24 of its double; a few hundred of them and the
// noise of the pivots stay far below these.
constexpr double kWeightSumTolerance = 1e-4;
constexpr double kRelativeTolerance = 1e-4;

std::string Figure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

}  // namespace

bool CheckPortfolio(const CellSource& cells, double minReturn, const SolutionRecord& record, std::string& fault) {
    const int32_t periods = cells.Cols() - 2;
    std::vector<double> portfolio(static_cast<size_t>(periods), 0.0);
    double weightSum = 0.0, scale = std::max(1.0, std::fabs(minReturn));
    for (int32_t i = 0; i < record.shareCount; ++i) {
        const SolutionShare& share = record.shares[static_cast<size_t>(i)];
        const double weight = share.weight;
        if (weight < -kWeightSumTolerance) {
            fault = "share row " + std::to_string(share.row) + " has the negative weight " + Figure(weight);
            return false;
        }
        weightSum += weight;
        for (int32_t p = 0; p < periods; ++p) {
            double value = 0.0;
            ParseWholeNumber(cells.TextMatrix(share.row, p + 2), value);
            scale = std::max(scale, std::fabs(value));
            portfolio[static_cast<size_t>(p)] += weight * value;
        }
    }
    if (std::fabs(weightSum - 1.0) > kWeightSumTolerance) {
        fault = "the weights sum to " + Figure(weightSum);
        return false;
    }
    double mean = 0.0;
    for (const double r : portfolio) mean += r;
    mean /= periods;
    double deviation = 0.0;
    for (const double r : portfolio) deviation += std::fabs(r - mean);
    deviation /= periods;
    const double tolerance = kRelativeTolerance * scale;
    if (mean < minReturn - tolerance || std::fabs(mean - record.averageReturn) > tolerance) {
        fault = "Avg.Return " + Figure(record.averageReturn) + ", but the weights give " + Figure(mean);
        return false;
    }
    if (std::fabs(deviation - record.lineDeviation) > tolerance) {
        fault = "Line Deviat. " + Figure(record.lineDeviation) + ", but the weights give " + Figure(deviation);
        return false;
    }
    return true;
}

}  // namespace korvel
