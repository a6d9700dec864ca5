// The system time tool on real controls, with the local clock read and set through the seam.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"
#include "tests/win/zentaro/tools_dialog_driver.h"
#include "tools/SystemTimeTool.h"

using namespace tools::system_time_tool;
using testing_support::PumpPending;
using tools_test::DialogDriver;

namespace {

SYSTEMTIME At(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms = 0) {
    SYSTEMTIME t{};
    t.wYear = y; t.wMonth = mo; t.wDay = d; t.wHour = h; t.wMinute = mi; t.wSecond = s; t.wMilliseconds = ms;
    return t;
}

// A clock the test moves by hand, and a recorder of every attempt to set it.
class FakeClock {
public:
    FakeClock() {
        seams_->getLocalTime = [this](SYSTEMTIME& t) {
            t = now;
        };
        seams_->setLocalTime = [this](const SYSTEMTIME& t) {
            sets.push_back(t);
            if (refuse) {
                SetLastError(ERROR_PRIVILEGE_NOT_HELD);
                return FALSE;
            }
            return TRUE;
        };
    }
    SYSTEMTIME now = At(2026, 12, 8, 14, 25, 10, 250);
    bool refuse = false;
    std::vector<SYSTEMTIME> sets;

private:
    sys::ScopedSeams seams_;
};

SYSTEMTIME Field(HWND dlg, int id) {
    SYSTEMTIME st{};
    SendDlgItemMessageA(dlg, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st;
}

bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}
bool SameTimeOfDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}
bool ShowsClock(HWND dlg, const SYSTEMTIME& t) {
    return SameDate(Field(dlg, kDateFieldId), t) && SameTimeOfDay(Field(dlg, kTimeFieldId), t);
}

bool ApplyEnabled(HWND dlg) { return IsWindowEnabled(GetDlgItem(dlg, kApplyId)) != FALSE; }

// The user changes a field: the control takes the new value and tells its dialog.
void EditField(HWND dlg, int id, const SYSTEMTIME& value) {
    const HWND field = GetDlgItem(dlg, id);
    NMDATETIMECHANGE change{};
    change.nmhdr = {field, static_cast<UINT_PTR>(id), static_cast<UINT>(DTN_DATETIMECHANGE)};
    change.dwFlags = GDT_VALID;
    change.st = value;
    SendMessageA(field, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
    SendMessageA(dlg, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
}

void Click(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

// Whether the dialog's clock timer is armed; the probe disarms it, so it goes last.
bool ClockTimerArmed(HWND dlg) { return KillTimer(dlg, kClockTimerId) != FALSE; }

// One tick of the clock timer, as the system would deliver it.
void TickClock(HWND dlg) { SendMessageA(dlg, WM_TIMER, kClockTimerId, 0); }

// Closes the next message box that `dlg` owns and hands back its text.
class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(HWND owner) {
        owner_ = owner;
        text_.clear();
        caught_ = false;
        timer_ = SetTimer(nullptr, 0, 30, Tick);
    }
    ~MessageBoxCatcher() { KillTimer(nullptr, timer_); }
    static bool caught() { return caught_; }
    static const std::string& text() { return text_; }

private:
    static BOOL CALLBACK Find(HWND h, LPARAM lp) {
        char cls[32] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (std::string(cls) == "#32770" && GetWindow(h, GW_OWNER) == owner_) {
            *reinterpret_cast<HWND*>(lp) = h;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK Collect(HWND child, LPARAM) {
        char buf[512] = {};
        GetWindowTextA(child, buf, sizeof buf);
        text_ += buf;
        text_ += '|';
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&box));
        if (!box || caught_) return;
        caught_ = true;
        EnumChildWindows(box, Collect, 0);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    UINT_PTR timer_;
    static inline HWND owner_ = nullptr;
    static inline std::string text_;
    static inline bool caught_ = false;
};

}  // namespace

TEST(SystemTimeTool, OpensLiveWithApplyDisabledAndTicksTheClockIntoBothFields) {
    FakeClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowSystemTimeTool(nullptr); }, [&](HWND dlg) {
        RECT w{};
        GetWindowRect(dlg, &w);
        EXPECT_EQ(kDialogWidth, w.right - w.left);
        EXPECT_EQ(kDialogHeight, w.bottom - w.top);
        EXPECT_TRUE(ShowsClock(dlg, clock.now));
        EXPECT_FALSE(ApplyEnabled(dlg));
        // Tests of other programs share the display: the focus only shows in the foreground.
        if (GetForegroundWindow() == dlg) {
            EXPECT_EQ(GetDlgItem(dlg, kDateFieldId), GetFocus());
        }
        EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongPtrA(GetDlgItem(dlg, kOkId), GWL_STYLE) & 0x0F);

        clock.now = At(2026, 12, 9, 0, 0, 3);
        TickClock(dlg);
        EXPECT_TRUE(ShowsClock(dlg, clock.now)) << "a tick shows the clock";
        EXPECT_TRUE(ClockTimerArmed(dlg));
    });
    EXPECT_TRUE(clock.sets.empty());
}

TEST(SystemTimeTool, ShowsEveryTextWholeEvenForTheLongestDateAndTime) {
    FakeClock clock;
    clock.now = At(2026, 9, 30, 22, 58, 58);  // the longest weekday and month names, an afternoon time
    DialogDriver::Run(kTitle, [] { tools::ShowSystemTimeTool(nullptr); }, [&](HWND dlg) {
        EXPECT_EQ("", testing_support::ClippedTextReport(dlg));
    });
}

TEST(SystemTimeTool, AnEditStopsTheTickingAndCancelSetsNothing) {
    FakeClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowSystemTimeTool(nullptr); }, [&](HWND dlg) {
        // The user raises the hour.
        EditField(dlg, kTimeFieldId, At(2026, 12, 8, 15, 25, 10));
        ASSERT_TRUE(ApplyEnabled(dlg));
        const SYSTEMTIME edited = Field(dlg, kTimeFieldId);
        EXPECT_FALSE(SameTimeOfDay(edited, clock.now)) << "the edit shows";

        clock.now = At(2026, 12, 8, 14, 30, 0);
        EXPECT_FALSE(ClockTimerArmed(dlg)) << "the edit stops the clock timer";
        PumpPending();
        EXPECT_TRUE(SameTimeOfDay(Field(dlg, kTimeFieldId), edited)) << "no tick overwrites the edit";

        Click(dlg, kCancelId);
        EXPECT_FALSE(IsWindowVisible(dlg));
    });
    EXPECT_TRUE(clock.sets.empty());
}

TEST(SystemTimeTool, ApplySetsTheEditedDateWithTheTimeTheTimeFieldHeldThenTicksAgain) {
    FakeClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowSystemTimeTool(nullptr); }, [&](HWND dlg) {
        const SYSTEMTIME held = Field(dlg, kTimeFieldId);
        EditField(dlg, kDateFieldId, At(2027, 3, 4, 9, 0, 0));
        ASSERT_TRUE(ApplyEnabled(dlg));
        clock.now = At(2026, 12, 8, 14, 26, 0);  // the clock runs on; the fields stay
        PumpPending();
        EXPECT_FALSE(SameTimeOfDay(Field(dlg, kTimeFieldId), clock.now));

        Click(dlg, kApplyId);
        ASSERT_EQ(1u, clock.sets.size());
        const SYSTEMTIME set = clock.sets[0];
        EXPECT_EQ(2027, set.wYear);
        EXPECT_EQ(3, set.wMonth);
        EXPECT_EQ(4, set.wDay);
        EXPECT_EQ(14, set.wHour);
        EXPECT_EQ(25, set.wMinute);
        EXPECT_EQ(10, set.wSecond);
        EXPECT_EQ(held.wMilliseconds, set.wMilliseconds);

        EXPECT_FALSE(ApplyEnabled(dlg)) << "back to the live clock";
        EXPECT_TRUE(ShowsClock(dlg, clock.now));
        clock.now = At(2026, 12, 8, 14, 26, 1);
        TickClock(dlg);
        EXPECT_TRUE(ShowsClock(dlg, clock.now)) << "ticking again";
        EXPECT_TRUE(ClockTimerArmed(dlg));

        EditField(dlg, kTimeFieldId, At(2026, 12, 8, 8, 0, 0));
        EXPECT_TRUE(ApplyEnabled(dlg)) << "a new edit enables Apply again";
    });
    EXPECT_EQ(1u, clock.sets.size()) << "closing sets nothing more";
}

TEST(SystemTimeTool, OkAppliesOnlyAnEdit) {
    {
        FakeClock clock;
        DialogDriver::Run(kTitle, [] { tools::ShowSystemTimeTool(nullptr); }, [&](HWND dlg) {
            Click(dlg, kOkId);
            EXPECT_FALSE(IsWindowVisible(dlg));
        });
        EXPECT_TRUE(clock.sets.empty()) << "OK on the live clock leaves the clock alone";
    }
    {
        FakeClock clock;
        DialogDriver::Run(kTitle, [] { tools::ShowSystemTimeTool(nullptr); }, [&](HWND dlg) {
            EditField(dlg, kTimeFieldId, At(2026, 12, 8, 6, 7, 8));
            Click(dlg, kOkId);
            EXPECT_FALSE(IsWindowVisible(dlg));
        });
        ASSERT_EQ(1u, clock.sets.size());
        EXPECT_EQ(6, clock.sets[0].wHour);
        EXPECT_EQ(7, clock.sets[0].wMinute);
        EXPECT_EQ(8, clock.sets[0].wSecond);
        EXPECT_EQ(8, clock.sets[0].wDay);
    }
}

TEST(SystemTimeTool, EscapeCancelsInsteadOfApplying) {
    FakeClock clock;
    DialogDriver::Run(kTitle, [] { tools::ShowSystemTimeTool(nullptr); }, [&](HWND dlg) {
        EditField(dlg, kTimeFieldId, At(2026, 12, 8, 6, 7, 8));
        MSG key{GetDlgItem(dlg, kTimeFieldId), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
        IsDialogMessageA(dlg, &key);
        EXPECT_FALSE(IsWindowVisible(dlg));
    });
    EXPECT_TRUE(clock.sets.empty());
}

TEST(SystemTimeTool, ARefusedChangeIsReportedAndTheFieldsReturnToTheClock) {
    FakeClock clock;
    clock.refuse = true;
    DialogDriver::Run(kTitle, [] { tools::ShowSystemTimeTool(nullptr); }, [&](HWND dlg) {
        EditField(dlg, kTimeFieldId, At(2026, 12, 8, 6, 7, 8));
        MessageBoxCatcher catcher(dlg);
        Click(dlg, kApplyId);
        EXPECT_TRUE(MessageBoxCatcher::caught());
        EXPECT_NE(std::string::npos, MessageBoxCatcher::text().find(kRefusedText)) << MessageBoxCatcher::text();
        EXPECT_FALSE(ApplyEnabled(dlg));
        EXPECT_TRUE(ShowsClock(dlg, clock.now));
        EXPECT_TRUE(IsWindowVisible(dlg)) << "the dialog stays open";
    });
    EXPECT_EQ(1u, clock.sets.size());
}

TEST(SystemTimeTool, PaintsAFrameAroundTheFieldsAndEachButton) {
    testing_support::PaintSurface surface(kDialogWidth, kDialogHeight);
    tools::PaintSystemTimeTool(surface.dc());
    struct Case { const char* what; int x, y; bool marked; } cases[] = {
        {"fields frame, left", 10, 30, true}, {"fields frame, bottom", 100, 57, true},
        {"inside the fields frame", 100, 30, false},
        {"OK frame", 14, 75, true}, {"Apply frame", 155, 75, true}, {"Cancel frame", 367, 75, true},
        {"between two button frames", 90, 75, false}, {"inside a button frame", 190, 77, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.marked, surface.Marked(c.x, c.y)) << c.what;
}
