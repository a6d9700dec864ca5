// A small PNG encoder (stored deflate blocks): enough for screenshots, no library needed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace driver {

// rgb holds width * height * 3 bytes, rows top to bottom.
std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace driver
