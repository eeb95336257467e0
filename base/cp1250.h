// Conversion between the Windows-1250 bytes held in data and files and the
// UTF-8 text that Qt and the source code use.
#pragma once

#include <string>
#include <string_view>

namespace orv {

std::string cp1250ToUtf8(std::string_view bytes);

// Characters without a Windows-1250 code become '?'.
std::string utf8ToCp1250(std::string_view utf8);

}  // namespace orv
