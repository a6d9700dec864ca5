#include "common/Utf8Text.h"

namespace text {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::size_t CharacterBytes(std::string_view text, std::size_t at) {
    if (at >= text.size()) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 1;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // no overlong forms
        if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
        return 1;  // ASCII, or a byte that starts no sequence
    }
    if (text.size() - at < length) return 1;
    if (byte(1) < low || byte(1) > high) return 1;
    for (std::size_t i = 2; i < length; ++i)
        if (!IsContinuation(byte(i))) return 1;
    return length;
}

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += CharacterBytes(text, at)) ++count;
    return count;
}

std::string_view CutToBytes(std::string_view text, std::size_t maxBytes) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = at + CharacterBytes(text, at);
        if (next > maxBytes) break;
        at = next;
    }
    return text.substr(0, at);
}

std::string_view CutToCharacters(std::string_view text, std::size_t maxCharacters) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < maxCharacters && at < text.size(); ++n) at += CharacterBytes(text, at);
    return text.substr(0, at);
}

}  // namespace text
