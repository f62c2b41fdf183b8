#pragma once
// Draws a frontier picture with Qt: a PNG through QImage, an SVG through Qt
// SVG's generator. Needs a QGuiApplication (any platform, offscreen too).
#include "programs/cli/FrontierPicture.h"

#include <string>

namespace korvel::plot {

bool PaintFrontier(const cli::FrontierPicture& picture, const std::string& path, cli::PictureKind kind,
                   std::string& error);

}  // namespace korvel::plot
