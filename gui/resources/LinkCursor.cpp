#include "gui/resources/LinkCursor.h"

#include <QBitmap>
#include <QImage>

namespace korvel {
namespace {

struct Box {
    int left, top, right, bottom;  // inclusive
    bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// The white inside of the hand: fingers, thumb and palm. Fingers stand one
// pixel apart, so the outline also draws the lines between them.
constexpr Box kHand[] = {
    {16, 7, 18, 20},   // index finger, its tip one pixel below the hot spot
    {20, 12, 22, 20},  // middle finger
    {24, 13, 26, 20},  // ring finger
    {28, 15, 29, 20},  // little finger
    {10, 15, 14, 21},  // thumb
    {13, 18, 29, 25},  // palm
    {14, 26, 28, 27},  // wrist
};

bool Inside(int x, int y)
{
    for (const Box& box : kHand) {
        if (box.Contains(x, y))
            return true;
    }
    return false;
}

bool Outline(int x, int y)
{
    return !Inside(x, y) && (Inside(x - 1, y) || Inside(x + 1, y) || Inside(x, y - 1) || Inside(x, y + 1));
}

}  // namespace

bool LinkCursorOpaque(int x, int y) { return Inside(x, y) || Outline(x, y); }
bool LinkCursorBlack(int x, int y) { return Outline(x, y); }

QCursor LinkCursor()
{
    // Bitmap bit 1 is black, mask bit 1 is opaque: white where only the mask is set.
    QImage bits(kLinkCursorSize, kLinkCursorSize, QImage::Format_MonoLSB);
    QImage mask(kLinkCursorSize, kLinkCursorSize, QImage::Format_MonoLSB);
    // Index 0 is Qt::color0 (off), index 1 Qt::color1 (on).
    const QList<QRgb> offOn{qRgb(255, 255, 255), qRgb(0, 0, 0)};
    bits.setColorTable(offOn);
    mask.setColorTable(offOn);
    bits.fill(0);
    mask.fill(0);
    for (int y = 0; y < kLinkCursorSize; ++y) {
        for (int x = 0; x < kLinkCursorSize; ++x) {
            bits.setPixel(x, y, LinkCursorBlack(x, y) ? 1 : 0);
            mask.setPixel(x, y, LinkCursorOpaque(x, y) ? 1 : 0);
        }
    }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), kLinkCursorHotX, kLinkCursorHotY);
}

}  // namespace korvel
