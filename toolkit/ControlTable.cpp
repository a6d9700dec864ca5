#include "toolkit/ControlTable.h"

namespace toolkit {

HWND CreateChildControl(HWND parent, HFONT font, const ControlSpec& spec, Scale scale) {
    HWND control = CreateWindowExA(spec.exStyle, spec.className, spec.text, WS_CHILD | WS_VISIBLE | spec.style,
                                   scale(spec.x), scale(spec.y), scale(spec.width), scale(spec.height), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

bool CreateControls(HWND parent, HFONT font, std::span<const ControlSpec> rows, Scale scale) {
    bool all = true;
    for (const ControlSpec& row : rows) all = CreateChildControl(parent, font, row, scale) != nullptr && all;
    return all;
}

}  // namespace toolkit
