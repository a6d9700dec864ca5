#include "toolkit/Dialog.h"

#include "toolkit/DialogTemplate.h"
#include "common/Monitors.h"

namespace toolkit {

void TemplateDialog::CreateDialog(HWND owner, DLGPROC lpDlgFunc, LPARAM initParam) {
    // Built per call on the stack; the platform copies it while creating the dialog.
    const toolkit::EmptyDialogTemplate tmpl = toolkit::MakeEmptyDialogTemplate();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.bytes.data()),
                            owner, lpDlgFunc, initParam);
}

void CentreDialogOnDesktop(HWND dialog, int width, int height, const char* title) {
    const monitors::Rect area = monitors::OwnerWorkArea(dialog);
    const int left = area.left + toolkit::CentredOffset(area.width(), width);
    const int top = area.top + toolkit::CentredOffset(area.height(), height);
    MoveWindow(dialog, left, top, width, height, TRUE);
    SendMessageA(dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title));
}

win::AutoFont CreateDialogFont() {
    return win::AutoFont(CreateFontA(kDialogFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                     0, 0, 0, kDialogFontFace));
}

namespace {

void DrawFrame(HDC dc, int left, int right, int top, int bottom, UINT edge) {
    RECT r{left, top, right, bottom};
    DrawEdge(dc, &r, edge, BF_RECT);
}

}  // namespace

void DrawEtchedFrame(HDC dc, int left, int right, int top, int bottom) {
    DrawFrame(dc, left, right, top, bottom, EDGE_ETCHED);
}

void DrawSunkenFrame(HDC dc, int left, int right, int top, int bottom) {
    DrawFrame(dc, left, right, top, bottom, EDGE_SUNKEN);
}

}  // namespace toolkit
