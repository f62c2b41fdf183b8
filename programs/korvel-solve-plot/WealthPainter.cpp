#include "programs/korvel-solve-plot/WealthPainter.h"

#include "programs/korvel-solve-plot/FrontierPainter.h"
#include "programs/korvel-solve-plot/WealthChart.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace korvel::plot {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 560;

bool PaintPng(const cli::BacktestResult& result, const std::string& path, std::string& error) {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawWealthChart(painter, QRectF(0, 0, kWidth, kHeight), result);
    }
    return SavePicture(
        path, [&](QIODevice& device) { return image.save(&device, "PNG"); }, error);
}

bool PaintSvg(const cli::BacktestResult& result, const std::string& path, std::string& error) {
    return SavePicture(
        path,
        [&](QIODevice& device) {
            QSvgGenerator generator;
            generator.setOutputDevice(&device);
            generator.setSize(QSize(kWidth, kHeight));
            generator.setViewBox(QRect(0, 0, kWidth, kHeight));
            generator.setTitle(QStringLiteral("Wealth out of sample"));
            QPainter painter(&generator);
            painter.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);
            DrawWealthChart(painter, QRectF(0, 0, kWidth, kHeight), result);
            return painter.end();
        },
        error);
}

}  // namespace

bool PaintWealth(const cli::BacktestResult& result, const std::string& path, cli::PictureKind kind,
                 std::string& error) {
    if (kind == cli::PictureKind::Svg)
        return PaintSvg(result, path, error);
    if (kind == cli::PictureKind::Png)
        return PaintPng(result, path, error);
    error = "the picture must be a .png or .svg file";
    return false;
}

}  // namespace korvel::plot
