// Counting and cutting text held as UTF-8, the programs' code page (see resources/app.manifest):
// a character is one complete UTF-8 sequence, and a cut never splits one. A byte that starts
// no valid sequence (a stray continuation byte, an overlong or surrogate form, a truncated
// sequence: text from an older system's code page) counts as one character of its own, so
// single-byte legacy texts count and cut as before.
#pragma once
#include <cstddef>
#include <string_view>

namespace text {

// Bytes of the character that starts at text[at] (1 to 4); 0 at or past the end.
std::size_t CharacterBytes(std::string_view text, std::size_t at);
// The number of characters.
std::size_t CharacterCount(std::string_view text);
// The longest start of text of at most maxBytes bytes that ends between two characters.
std::string_view CutToBytes(std::string_view text, std::size_t maxBytes);
// The start of text holding at most maxCharacters characters.
std::string_view CutToCharacters(std::string_view text, std::size_t maxCharacters);

}  // namespace text
