#pragma once
// What a picture of the frontier shows, in plain figures, and the seam through
// which a drawing library (only in korvel-solve-plot) draws it.
#include "core/optimizer/Frontier.h"
#include "core/optimizer/RiskMeasure.h"
#include "programs/cli/SolveOptions.h"

#include <string>
#include <vector>

namespace korvel::cli {

struct PictureShare {
    std::string name;
    double deviation = 0.0;  // the share's own mean absolute deviation
    double mean = 0.0;
};

struct FrontierPicture {
    std::vector<FrontierPoint> points;                      // the frontier; the first is the least-deviation portfolio
    std::vector<PictureShare> shares;                       // every share, in worksheet order
    std::string axisName = "Line Deviat.";                  // the risk axis; a share's deviation is its own risk by it
    std::string leastLabel = "Least deviation";             // beside the first point
    std::string leastLegend = "Least-deviation portfolio";  // and in the legend
};

FrontierPicture MakeFrontierPicture(const FrontierResult& frontier, const ShareReturns& returns,
                                    const std::vector<std::string>& names);
// The same for another risk measure than the mean absolute deviation.
FrontierPicture MakeFrontierPicture(const FrontierResult& frontier, const ShareReturns& returns,
                                    const std::vector<std::string>& names, const RiskMeasure& measure);

// Writes the picture to path; false with a reason when it cannot.
using FrontierPainter = bool (*)(const FrontierPicture& picture, const std::string& path, PictureKind kind,
                                 std::string& error);

// korvel-solve itself has none (it stays free of any drawing library).
void SetFrontierPainter(FrontierPainter painter);
FrontierPainter CurrentFrontierPainter();

}  // namespace korvel::cli
