// Fixed colours of the curve window's chart (0x00BBGGRR) and the text helpers
// the chart's pieces share.
#pragma once

#include <string_view>

#include "ui/canvas.h"

namespace orv::chart {

inline constexpr ui::Colour White = 0xFFFFFF;
inline constexpr ui::Colour Black = 0x000000;
inline constexpr ui::Colour Silver = 0xC0C0C0;
inline constexpr ui::Colour Grey = 0x808080;
inline constexpr ui::Colour Red = 0x0000FF;
inline constexpr ui::Colour Aqua = 0xFFFF00;

// Text on a white box, hiding what lies under it.
void useOpaqueText(ui::Canvas& canvas, ui::Colour colour);
// Text that leaves the picture under it.
void useTransparentText(ui::Canvas& canvas, ui::Colour colour);

int textWidth(ui::Canvas& canvas, std::string_view text);
// A horizontal or vertical line from (x0, y0) to (x1, y1), the end pixel
// excluded.
void line(ui::Canvas& canvas, int x0, int y0, int x1, int y1);

}  // namespace orv::chart
