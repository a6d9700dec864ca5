#include "toolkit/ControlTable.h"

#include <string>

#include "common/WindowText.h"

namespace toolkit {

namespace {

// Edit fields are Unicode windows: their limits (EM_LIMITTEXT) then count characters, where an
// ANSI edit counts the bytes of its code page. Their texts still pass through the A messages.
bool IsEdit(const char* className) { return className && lstrcmpiA(className, "EDIT") == 0; }

}  // namespace

HWND CreateChildControl(HWND parent, HFONT font, const ControlSpec& spec, Scale scale) {
    const DWORD style = WS_CHILD | WS_VISIBLE | spec.style;
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id));
    HWND control = nullptr;
    if (IsEdit(spec.className)) {
        const std::wstring text = win::Wide(spec.text ? spec.text : "");
        control = CreateWindowExW(spec.exStyle, L"EDIT", text.c_str(), style, scale(spec.x), scale(spec.y),
                                  scale(spec.width), scale(spec.height), parent, menu, GetModuleHandleW(nullptr),
                                  nullptr);
    } else {
        control = CreateWindowExA(spec.exStyle, spec.className, spec.text, style, scale(spec.x), scale(spec.y),
                                  scale(spec.width), scale(spec.height), parent, menu, GetModuleHandleA(nullptr),
                                  nullptr);
    }
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

bool CreateControls(HWND parent, HFONT font, std::span<const ControlSpec> rows, Scale scale) {
    bool all = true;
    for (const ControlSpec& row : rows) all = CreateChildControl(parent, font, row, scale) != nullptr && all;
    return all;
}

}  // namespace toolkit
