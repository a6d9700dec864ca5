// What the settings store accepts as a number: optional blanks, an optional sign, one or more
// decimal digits, optional blanks, and a value that fits a signed 32-bit integer.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace settings {

std::optional<std::int32_t> ParseNumericText(std::string_view text);

}  // namespace settings
