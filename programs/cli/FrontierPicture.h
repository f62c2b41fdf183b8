#pragma once
// What a picture of the frontier shows, in plain figures, and the seam through
// which a drawing library (only in korvel-solve-plot) draws it.
#include "core/optimizer/Frontier.h"
#include "core/optimizer/RiskMeasure.h"
#include "core/worksheet/TextImport.h"
#include "programs/cli/SolveOptions.h"

#include <string>
#include <vector>

namespace korvel::cli {

struct PictureShare {
    std::string name;
    double deviation = 0.0;  // the share's own mean absolute deviation
    double mean = 0.0;
    bool nearFrontier = false;  // among the closest to the frontier's line: the picture names it
};

struct FrontierPicture {
    std::vector<FrontierPoint> points;      // the frontier; the first is the least-risk portfolio
    std::vector<PictureShare> shares;       // every share, in worksheet order
    std::string unit;                       // of both axes, "percent per month"
    std::string axisName = "Line Deviat.";  // the risk axis; a share's deviation is its own risk by it
};

// The returns' unit: percent per week, month, quarter or period after
// --prices; else what the text holds, "return per period".
std::string PictureUnit(const text::TextOptions& options);

// near: how close to the frontier's line a share is named, as a share of the
// chart's spans of deviation and return.
FrontierPicture MakeFrontierPicture(const FrontierResult& frontier, const ShareReturns& returns,
                                    const std::vector<std::string>& names, const std::string& unit,
                                    const RiskMeasure& measure = {}, double near = 0.05);

// Writes the picture to path; false with a reason when it cannot.
using FrontierPainter = bool (*)(const FrontierPicture& picture, const std::string& path, PictureKind kind,
                                 std::string& error);

// korvel-solve itself has none (it stays free of any drawing library).
void SetFrontierPainter(FrontierPainter painter);
FrontierPainter CurrentFrontierPainter();

}  // namespace korvel::cli
