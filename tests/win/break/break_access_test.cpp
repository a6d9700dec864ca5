// The break window for readers and in high contrast: its controls' names and its labels' colours.
#include "tests/win/break/break_fixture.h"

namespace {

using break_test::BreakWindowTest;
using break_test::Text;
using testing_support::PaintSurface;

TEST_F(BreakWindowTest, ButtonsAndCountdownCarryTheirNamesAndHighContrastLabelsUseSystemColours) {
    WriteIni("1", nullptr);
    Open();
    for (int id : {break_program::kIdCloseButton, break_program::kIdPreviousButton, break_program::kIdNextButton,
                   break_program::kIdCountdownLabel, break_program::kIdHeadingLabel}) {
        EXPECT_FALSE(Text(Child(id)).empty()) << "control " << id << " has no name for a reader";
    }
    // The heading drawn into a surface as the label asks for it: on the picture and in white
    // normally, in the window colours while high contrast is on.
    struct Row {
        bool on;
        bool systemColours;
    };
    for (const Row& row : {Row{true, true}, Row{false, false}}) {
        SCOPED_TRACE(row.on ? "on" : "off");
        seams_->highContrast = [&] { return row.on; };
        SendMessageA(wnd_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        HWND label = Child(break_program::kIdHeadingLabel);
        RECT r{};
        GetClientRect(label, &r);
        PaintSurface surface(r.right, r.bottom);
        DRAWITEMSTRUCT di{};
        di.CtlType = ODT_STATIC;
        di.CtlID = break_program::kIdHeadingLabel;
        di.hwndItem = label;
        di.hDC = surface.dc();
        di.rcItem = r;
        SendMessageA(wnd_, WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
        int text = 0, white = 0, green = 0;
        for (int y = 0; y < r.bottom; ++y) {
            for (int x = 0; x < r.right; ++x) {
                const COLORREF c = GetPixel(surface.dc(), x, y);
                text += c == GetSysColor(COLOR_WINDOWTEXT);
                white += c == RGB(255, 255, 255);
                green += c == break_program::kBreakBackground;
            }
        }
        if (row.systemColours) {
            EXPECT_GT(text, 0);
            EXPECT_EQ(GetPixel(surface.dc(), 0, 0), GetSysColor(COLOR_WINDOW));
            EXPECT_EQ(green, 0) << "nothing of the break's own background";
        } else {
            EXPECT_GT(white, 0) << "the label's own white text";
        }
    }
}

}  // namespace
