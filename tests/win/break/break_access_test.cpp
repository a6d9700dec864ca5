// The break window for readers and in high contrast: its controls' names and its labels' colours.
#include "tests/win/break/break_fixture.h"

namespace {

using break_test::BreakWindowTest;
using break_test::Text;

TEST_F(BreakWindowTest, ButtonsAndCountdownCarryTheirNamesAndHighContrastLabelsUseSystemColours) {
    WriteIni("1", nullptr);
    Open();
    for (int id : {break_program::kIdCloseButton, break_program::kIdPreviousButton, break_program::kIdNextButton,
                   break_program::kIdCountdownLabel, break_program::kIdHeadingLabel})
        EXPECT_FALSE(Text(Child(id)).empty()) << "control " << id << " has no name for a reader";
    // The heading drawn as the label asks for it: in white on the picture normally, in the
    // window colours (nothing of the break's own background) while high contrast is on.
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "on" : "off");
        seams_->highContrast = [on] { return on; };
        SendMessageA(wnd_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        DRAWITEMSTRUCT di{};
        di.CtlType = ODT_STATIC;
        di.CtlID = break_program::kIdHeadingLabel;
        di.hwndItem = Child(break_program::kIdHeadingLabel);
        GetClientRect(di.hwndItem, &di.rcItem);
        testing_support::PaintSurface surface(di.rcItem.right, di.rcItem.bottom);
        di.hDC = surface.dc();
        SendMessageA(wnd_, WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
        int text = 0, white = 0, green = 0;
        for (int y = 0; y < di.rcItem.bottom; ++y) {
            for (int x = 0; x < di.rcItem.right; ++x) {
                const COLORREF c = GetPixel(surface.dc(), x, y);
                text += c == GetSysColor(COLOR_WINDOWTEXT);
                white += c == RGB(255, 255, 255);
                green += c == break_program::kBreakBackground;
            }
        }
        EXPECT_TRUE(!on || (text > 0 && green == 0 && GetPixel(surface.dc(), 0, 0) == GetSysColor(COLOR_WINDOW)));
        EXPECT_TRUE(on || white > 0) << "the label's own white text";
    }
}

}  // namespace
