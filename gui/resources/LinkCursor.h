#pragma once
// Cursor 153: the pointing hand shown over the About box's link.
#include <QCursor>

namespace korvel {

inline constexpr int kLinkCursorSize = 32;
inline constexpr int kLinkCursorHotX = 17;
inline constexpr int kLinkCursorHotY = 6;

// A 32 x 32 monochrome hand, white with a black outline, the index finger
// pointing up; its hot spot is the fingertip. Needs a QGuiApplication.
QCursor LinkCursor();

// Whether pixel (x, y) of the hand is opaque, and whether it is black.
bool LinkCursorOpaque(int x, int y);
bool LinkCursorBlack(int x, int y);

}  // namespace korvel
