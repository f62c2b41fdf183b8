#pragma once
// The check every frontier breakpoint passes before it is returned.
#include "core/optimizer/Frontier.h"

#include <string>

namespace korvel {

// True when the point is a portfolio of the model: weights not below zero and
// summing to 1, the average return they give equal to the one claimed, and the
// line deviation recomputed from them equal to the claimed one. The
// tolerances are relative to scale, the largest return in absolute value.
// reason names the first failing item.
bool CheckFrontierPoint(const ShareReturns& returns, const FrontierPoint& point, double scale, std::string& reason);

}  // namespace korvel
