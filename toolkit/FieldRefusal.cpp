#include "toolkit/FieldRefusal.h"

#include "common/WindowText.h"

namespace toolkit {

namespace {

void FocusAndSelect(HWND field) {
    if (!field) return;
    SetFocus(field);
    char className[16] = {};
    GetClassNameA(field, className, sizeof className);
    if (lstrcmpiA(className, "COMBOBOX") == 0) SendMessageA(field, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else SendMessageA(field, EM_SETSEL, 0, -1);
}

}  // namespace

void RefuseField(HWND form, HWND field, const std::string& message) {
    FocusAndSelect(field);
    MessageBoxA(form, message.c_str(), win::WindowText(form).c_str(), MB_OK | MB_ICONWARNING);
    // A window that is not a dialog gives the focus to itself when it is active again.
    FocusAndSelect(field);
}

}  // namespace toolkit
