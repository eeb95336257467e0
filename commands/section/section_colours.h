// The fixed colours of the section picture (0x00BBGGRR).
#pragma once

#include "ui/canvas.h"

namespace orv::section_colours {

inline constexpr ui::Colour White = 0xFFFFFF;
inline constexpr ui::Colour Black = 0x000000;
inline constexpr ui::Colour Red = 0x0000FF;
inline constexpr ui::Colour Green = 0x008000;
inline constexpr ui::Colour Grey = 0x808080;
inline constexpr ui::Colour Yellow = 0x00FFFF;

}  // namespace orv::section_colours
