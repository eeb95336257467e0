// The readers take a path: each input is written to a scratch file first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string writeFuzzInput(const uint8_t* data, std::size_t size, const char* extension);
