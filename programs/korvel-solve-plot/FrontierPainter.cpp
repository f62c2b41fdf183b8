#include "programs/korvel-solve-plot/FrontierPainter.h"

#include "core/files/FileReplace.h"
#include "programs/korvel-solve-plot/FrontierChart.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <functional>

namespace korvel::plot {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 560;

// The share's own risk goes by the axis' name, the measure the frontier least.
QString TitleOf(const cli::PictureShare& share, const std::string& axisName) {
    return QString::fromStdString(share.name) + QStringLiteral(": Avg.Return ") + QString::number(share.mean, 'g', 6)
           + QStringLiteral(", ") + QString::fromStdString(axisName) + QStringLiteral(" ")
           + QString::number(share.deviation, 'g', 6);
}

// The generator writes an ellipse with equal radii as a circle.
bool IsRound(QStringView element) {
    return element == QLatin1String("circle") || element == QLatin1String("ellipse");
}

// The generator knows no per-shape titles. The chart draws the shares' dots
// first and as the only ellipses, so the n-th ellipse of the document is
// share n: each gets a <title>, which viewers show on hover.
bool AddShareTitles(const QByteArray& svg, const cli::FrontierPicture& picture, QByteArray& out) {
    QXmlStreamReader reader(svg);
    // Names and xmlns attributes pass through as written; with namespaces
    // resolved the writer would invent prefixes for the default one.
    reader.setNamespaceProcessing(false);
    QXmlStreamWriter writer(&out);
    size_t ellipses = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.hasError())
            return false;
        if (reader.isEndElement() && IsRound(reader.qualifiedName()) && ellipses < picture.shares.size())
            writer.writeTextElement(QStringLiteral("title"), TitleOf(picture.shares[ellipses++], picture.axisName));
        writer.writeCurrentToken(reader);
    }
    return ellipses == picture.shares.size();
}

}  // namespace

bool SavePicture(const std::string& path, const std::function<bool(QIODevice&)>& write, std::string& error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer)) {
        error = "the picture cannot be drawn";
        return false;
    }
    const QByteArray& bytes = buffer.data();
    return files::ReplaceFile(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), error);
}

namespace {

bool PaintPng(const cli::FrontierPicture& picture, const std::string& path, std::string& error) {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawFrontierChart(painter, QRectF(0, 0, kWidth, kHeight), picture);
    }
    return SavePicture(
        path, [&](QIODevice& device) { return image.save(&device, "PNG"); }, error);
}

bool PaintSvg(const cli::FrontierPicture& picture, const std::string& path, std::string& error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kWidth, kHeight));
    generator.setViewBox(QRect(0, 0, kWidth, kHeight));
    generator.setTitle(QStringLiteral("Efficient frontier"));
    {
        QPainter painter(&generator);
        painter.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);
        DrawFrontierChart(painter, QRectF(0, 0, kWidth, kHeight), picture);
    }
    QByteArray titled;
    if (!AddShareTitles(buffer.data(), picture, titled)) {
        error = "the drawing could not be given its share names";
        return false;
    }
    return SavePicture(
        path, [&](QIODevice& device) { return device.write(titled) == titled.size(); }, error);
}

}  // namespace

bool PaintFrontier(const cli::FrontierPicture& picture, const std::string& path, cli::PictureKind kind,
                   std::string& error) {
    if (kind == cli::PictureKind::Svg)
        return PaintSvg(picture, path, error);
    if (kind == cli::PictureKind::Png)
        return PaintPng(picture, path, error);
    error = "the picture must be a .png or .svg file";
    return false;
}

}  // namespace korvel::plot
