#include "toolkit/Dialog.h"

#include "common/Dpi.h"
#include "toolkit/ControlTable.h"
#include "toolkit/DialogTemplate.h"
#include "common/Monitors.h"

namespace toolkit {

void TemplateDialog::CreateDialog(HWND owner, DLGPROC lpDlgFunc, LPARAM initParam) {
    // Built per call on the stack; the platform copies it while creating the dialog.
    const toolkit::EmptyDialogTemplate tmpl = toolkit::MakeEmptyDialogTemplate();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.bytes.data()),
                            owner, lpDlgFunc, initParam);
}

void CentreDialogOnDesktop(HWND dialog, int widthUnits, int heightUnits, const char* title) {
    const int at = dpi::WindowDpi(dialog);
    const int width = dpi::Scale(widthUnits, at), height = dpi::Scale(heightUnits, at);
    const monitors::Rect place = monitors::CentredIn(monitors::OwnerWorkArea(dialog), width, height);
    MoveWindow(dialog, place.left, place.top, width, height, TRUE);
    SendMessageA(dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title));
    FollowDpiChanges(dialog);
}

win::AutoFont CreateDialogFont(HWND window) { return CreateDialogFont(dpi::WindowDpi(window)); }

int DcScale(HDC dc, int units) { return dpi::Scale(units, dpi::WindowDpi(WindowFromDC(dc))); }
RECT ScaleRect(HWND window, const RECT& units) {
    const int at = dpi::WindowDpi(window);
    return RECT{dpi::Scale(units.left, at), dpi::Scale(units.top, at), dpi::Scale(units.right, at),
                dpi::Scale(units.bottom, at)};
}

int DcUnits(HDC dc, int pixels) { return dpi::Unscale(pixels, dpi::WindowDpi(WindowFromDC(dc))); }

win::AutoFont CreateDialogFont(int at) {
    return win::AutoFont(CreateFontA(dpi::Scale(kDialogFontHeight, at), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, 0, 0, 0, 0, kDialogFontFace));
}

namespace {

void DrawFrame(HDC dc, int left, int right, int top, int bottom, UINT edge) {
    const int at = dpi::WindowDpi(WindowFromDC(dc));
    RECT r{dpi::Scale(left, at), dpi::Scale(top, at), dpi::Scale(right, at), dpi::Scale(bottom, at)};
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
