#pragma once
// Command line of korvel-solve: [--json|--csv] [--min-return TEXT] [text options] FILE,
// --least-risk [--json|--csv] [text options] FILE,
// --frontier [--json|--csv] [--plot PICTURE] [text options] FILE,
// --best-ratio [--risk-free RATE] [--json|--csv] [text options] FILE, or --help;
// each with --risk MEASURE and the weight bounds.
#include "core/optimizer/RiskMeasure.h"
#include "programs/cli/DataInput.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::cli {

struct SolveOptions {
    bool help = false;
    bool json = false;
    bool csv = false;
    bool wide = false;                     // with csv: a line per portfolio, a column per share
    InputOptions input;                    // how FILE is read; its minReturn is not used (see minReturn)
    std::optional<std::string> minReturn;  // replaces the document's text, as if typed
    bool frontier = false;
    bool leastRisk = false;  // the least-deviation portfolio, without a Min Return
    std::string plot;        // with frontier: a .png or .svg to draw it into
    std::string file;
    RiskMeasure measure;     // --risk
    bool bestRatio = false;  // the portfolio with the best excess return per unit of risk
    double riskFree = 0.0;
    std::optional<double> minWeight, maxWeight;  // for every share
    std::string boundsFile;                      // CSV: name, min, max
    // Any measure but mad, or any bound, goes to the risk measures' solver.
    bool UsesMeasureSolver() const {
        return measure.kind != RiskKind::Mad || minWeight || maxWeight || !boundsFile.empty();
    }
};

// --risk, --best-ratio, --risk-free, --min-weight, --max-weight and --bounds,
// written into options.
void AppendMeasureOptions(OptionTable& table, SolveOptions& options);

// False with a reason when the arguments (program name excluded) are not a valid call.
bool ParseSolveArguments(const std::vector<std::string>& args, SolveOptions& options, std::string& error);

enum class PictureKind { None, Png, Svg };
// By the name's ending, in any letter case.
PictureKind PictureKindOf(std::string_view path);

extern const char* const kSolveUsageLine;  // the first lines of kSolveUsage: the four forms
extern const char* const kSolveUsage;

// A refused command line: the reason and the usage lines on err; the exit status.
int ReportSolveUsageError(const std::string& error, std::ostream& err);

}  // namespace korvel::cli
