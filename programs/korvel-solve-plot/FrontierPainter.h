#pragma once
// Draws a frontier picture with Qt: a PNG through QImage, an SVG through Qt
// SVG's generator. Needs a QGuiApplication (any platform, offscreen too).
#include "programs/cli/FrontierPicture.h"

#include <QIODevice>

#include <functional>
#include <string>

namespace korvel::plot {

// Drawn into memory first, then written the one way every program replaces a file.
bool SavePicture(const std::string& path, const std::function<bool(QIODevice&)>& write, std::string& error);

bool PaintFrontier(const cli::FrontierPicture& picture, const std::string& path, cli::PictureKind kind,
                   std::string& error);

}  // namespace korvel::plot
