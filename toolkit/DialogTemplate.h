// The empty modal dialog template from which the program's template dialogs are run, and
// the centring rule they share. Pure: no <windows.h>.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace toolkit {

// WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME. No DS_SETFONT: the record ends after
// the title word, and the controls get their font from the wrappers.
inline constexpr std::uint32_t kEmptyDialogStyle = 0x80C80080u;
// The classic (non-extended) template record with no controls plus its three one-word
// arrays (menu, class, title), each 0.
inline constexpr std::size_t kEmptyDialogTemplateSize = 24;

// The platform requires dialog templates to sit on a 32-bit boundary.
struct alignas(4) EmptyDialogTemplate {
    std::array<std::uint8_t, kEmptyDialogTemplateSize> bytes{};
};

// Style, no extended style, no controls, position and size 0, no menu, the predefined
// dialog class and an empty title, little-endian.
EmptyDialogTemplate MakeEmptyDialogTemplate();

}  // namespace toolkit
