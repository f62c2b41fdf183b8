#include "programs/cli/MeasureSetup.h"

#include "core/optimizer/MeasureSolver.h"
#include "core/worksheet/BoundsText.h"
#include "core/worksheet/DocumentFormat.h"

#include <unordered_map>

namespace korvel::cli {
namespace {

bool ApplyBoundsFile(const std::string& path, const std::vector<std::string>& names, WeightBounds& bounds,
                     std::string& error) {
    std::vector<uint8_t> bytes;
    std::vector<doc::BoundsLine> lines;
    if (!doc::ReadFileBytes(path, bytes, error)
        || !doc::ReadBoundsText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), lines,
                                error)) {
        error = path + ": " + error;
        return false;
    }
    std::unordered_map<std::string, size_t> shareOf;
    for (size_t i = names.size(); i-- > 0;)
        shareOf[names[i]] = i;
    std::unordered_map<std::string, int> seen;
    for (const doc::BoundsLine& line : lines) {
        const auto share = shareOf.find(line.name);
        const std::string where = path + ": line " + std::to_string(line.line) + ": \"" + line.name + "\"";
        if (share == shareOf.end()) {
            error = where + " is no share of the input";
            return false;
        }
        if (const auto [earlier, fresh] = seen.emplace(line.name, line.line); !fresh) {
            error = where + " has bounds on line " + std::to_string(earlier->second) + " already";
            return false;
        }
        if (line.lower)
            bounds.lower[share->second] = *line.lower;
        if (line.upper)
            bounds.upper[share->second] = *line.upper;
    }
    return true;
}

}  // namespace

bool MakeWeightBounds(const SolveOptions& options, const std::vector<std::string>& names, WeightBounds& bounds,
                      std::string& error) {
    bounds = WeightBounds{};
    if (!options.minWeight && !options.maxWeight && options.boundsFile.empty())
        return true;
    bounds = UniformBounds(static_cast<int32_t>(names.size()), options.minWeight.value_or(0.0),
                           options.maxWeight.value_or(1.0));
    if (!options.boundsFile.empty() && !ApplyBoundsFile(options.boundsFile, names, bounds, error))
        return false;
    error = BoundsFault(bounds, names);
    if (error.empty())
        return true;
    error = "no portfolio keeps the weight bounds: " + error;
    return false;
}

namespace {

template <typename Returns>
FrontierResult SolveBy(const SolveOptions& options, Returns&& returns, const WeightBounds& bounds,
                       const FrontierRequest& request) {
    if (options.UsesMeasureSolver())
        return ComputeMeasureFrontier(returns, options.measure, bounds, request);
    return ComputeFrontier(std::forward<Returns>(returns), request);
}

}  // namespace

FrontierResult SolveFrontier(const SolveOptions& options, const ShareReturns& returns, const WeightBounds& bounds,
                             const FrontierRequest& request) {
    return SolveBy(options, returns, bounds, request);
}

FrontierResult SolveFrontier(const SolveOptions& options, ShareReturns&& returns, const WeightBounds& bounds,
                             const FrontierRequest& request) {
    return SolveBy(options, std::move(returns), bounds, request);
}

std::string PrintedMeasure(const SolveOptions& options) {
    return options.measure.kind == RiskKind::Mad ? std::string() : RiskMeasureName(options.measure);
}

}  // namespace korvel::cli
