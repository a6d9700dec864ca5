// Dialogs and tool windows are centred on the work area of the monitor their owner is on, over
// monitors a test puts in force: the primary second in the list, the other one left of it at
// negative coordinates.
#include "apps/zentaro/AboutWindow.h"
#include "breaksettings/BreakSettingsWindow.h"
#include "common/Monitors.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/zentaro/tools_dialog_driver.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"
#include "tools/CalendarTool.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using testing_support::PumpPending;

namespace {

std::vector<monitors::Monitor> LeftOfPrimary() {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    return {{{-1920, -312, 0, h}, {-1900, -312, 0, h - 40}, false}, {{0, 0, w, h}, {0, 0, w, h - 30}, true}};
}

// A plain top-level window standing at `r`, to own the windows under test.
class Owner {
public:
    explicit Owner(const monitors::Rect& r)
        : wnd_(CreateWindowExA(0, "STATIC", "owner", WS_POPUP, r.left, r.top, r.width(), r.height(), nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr)) {}
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    ~Owner() { DestroyWindow(wnd_); }
    HWND get() const { return wnd_; }

private:
    HWND wnd_;
};

monitors::Rect WindowRectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return monitors::FromRect(r);
}

// Centred in `area` as the dialogs round: halves to the even neighbour.
void ExpectCentredIn(const monitors::Rect& area, const monitors::Rect& window) {
    const monitors::Rect centred = monitors::CentredIn(area, window.width(), window.height());
    EXPECT_EQ(window.left, centred.left);
    EXPECT_EQ(window.top, centred.top);
}

// Centred in `area` as the tool windows round: halves down.
void ExpectToolCentredIn(const monitors::Rect& area, const monitors::Rect& window) {
    EXPECT_EQ(window.left, area.left + (area.width() - window.width()) / 2);
    EXPECT_EQ(window.top, area.top + (area.height() - window.height()) / 2);
}

struct Where {
    const char* what;
    std::optional<monitors::Rect> owner;  // none: no owner
    std::size_t monitor;                  // whose work area the window is centred in
};
const Where kPlaces[] = {
    {"owner on the left monitor", monitors::Rect{-1500, -200, -1380, -162}, 0},
    {"owner mostly on the primary", monitors::Rect{-20, 100, 100, 138}, 1},
    {"owner off every monitor, nearest the left one", monitors::Rect{-9000, 100, -8880, 138}, 0},
    {"no owner: the primary", std::nullopt, 1},
};

TEST(MonitorCentring, TheCalendarDialogIsCentredOnItsOwnersMonitor) {
    const std::vector<monitors::Monitor> list = LeftOfPrimary();
    monitors::ScopedMonitors fake(list);
    for (const Where& w : kPlaces) {
        SCOPED_TRACE(w.what);
        std::optional<Owner> owner;
        if (w.owner) owner.emplace(*w.owner);
        monitors::Rect shown;
        tools_test::DialogDriver::Run("Calendar", [&] { tools::ShowCalendarTool(owner ? owner->get() : nullptr); },
                                      [&](HWND dlg) { shown = WindowRectOf(dlg); });
        ExpectCentredIn(list[w.monitor].work, shown);
    }
}

TEST(MonitorCentring, TheBreakSettingsAndAboutWindowsAreCentredOnTheirOwnersMonitor) {
    const std::vector<monitors::Monitor> list = LeftOfPrimary();
    monitors::ScopedMonitors fake(list);
    sys::ScopedSeams seams;
    testing_support::TempDir dir;
    breaksettings::BreakSettingsConfig config{dir.path() + "/stop.ini", dir.path()};
    for (const Where& w : kPlaces) {
        SCOPED_TRACE(w.what);
        std::optional<Owner> owner;
        if (w.owner) owner.emplace(*w.owner);
        HWND settings = breaksettings::ShowBreakSettings(owner ? owner->get() : nullptr, config);
        ASSERT_NE(settings, nullptr);
        ExpectToolCentredIn(list[w.monitor].work, WindowRectOf(settings));
        DestroyWindow(settings);
        HWND about = zentaro::ShowAboutWindow(owner ? owner->get() : nullptr);
        ASSERT_NE(about, nullptr);
        ExpectToolCentredIn(list[w.monitor].work, WindowRectOf(about));
        DestroyWindow(about);
        PumpPending();
    }
}

TEST(MonitorCentring, AnOpenListIsNoWiderThanItsMonitor) {
    // A narrow monitor left of the primary, and a list of long names on it.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    monitors::ScopedMonitors fake({{{-300, 0, 0, h}, {-300, 0, 0, h}, false}, {{0, 0, w, h}, {0, 0, w, h}, true}});
    Owner parent({-290, 10, -190, 60});
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 80, 100, parent.get(),
                                 reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(combo, nullptr);
    controls::ComboBox::AddItem(parent.get(), 1, std::string(200, 'W'));
    controls::ComboBox::FitDropDownWidth(parent.get(), 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDWIDTH, 0, 0), 300);
}

}  // namespace
