// The fixture of the break window's in-process tests: one break window over its own INI file,
// a controlled clock and a recorder of the screen-saver flag.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/break/BreakWindow.h"
#include "common/IniFile.h"
#include "common/ProgramPath.h"
#include "common/SystemSeams.h"
#include "tests/win/support/TestSupport.h"

namespace break_test {

using testing_support::PumpPending;
using testing_support::TempDir;

inline std::string Text(HWND wnd) {
    char buf[128] = {};
    GetWindowTextA(wnd, buf, static_cast<int>(sizeof(buf)));
    return buf;
}

class BreakWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        seams_->tickCount = [this] { return now_; };
        seams_->setScreenSaverRunning = [this](BOOL running) {
            flagCalls_.push_back(running != FALSE);
            return TRUE;
        };
    }
    void TearDown() override {
        if (IsWindow(wnd_)) DestroyWindow(wnd_);
        PumpPending();
    }

    void WriteIni(const char* timesshow, const char* cmdhide) {
        ini::SetIniFile(ini());
        if (timesshow) {
            ASSERT_TRUE(ini::WriteIniString("StartBreak", "timesshow", timesshow));
        }
        if (cmdhide) {
            ASSERT_TRUE(ini::WriteIniString("StartBreak", "cmdhide", cmdhide));
        }
    }
    std::string ini() const { return dir_.path() + "/stop.ini"; }

    void Open(const std::string& programDirectory = paths::ProgramDirectory(), int show = SW_SHOWNOACTIVATE) {
        break_program::BreakConfig config;
        config.iniPath = ini();
        config.programDirectory = programDirectory;
        config.quitOnClose = false;
        wnd_ = break_program::CreateBreakWindow(GetModuleHandleA(nullptr), config, show);
        ASSERT_NE(wnd_, nullptr);
        PumpPending();
    }
    HWND Child(int id) const { return GetDlgItem(wnd_, id); }
    std::string Countdown() const { return Text(Child(break_program::kIdCountdownLabel)); }
    // The countdown timer's tick at the given clock reading.
    void TickAt(ULONGLONG ms) {
        now_ = ms;
        SendMessageA(wnd_, WM_TIMER, break_program::kCountdownTimerId, 0);
    }
    void Click(int id) { SendMessageA(wnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Child(id))); }
    bool TimerRunning(UINT_PTR id) {
        // KillTimer fails for a timer that is not running; restart one that was.
        if (!KillTimer(wnd_, id)) return false;
        SetTimer(wnd_, id, id == break_program::kFocusTimerId ? 500 : 1000, nullptr);
        return true;
    }

    sys::ScopedSeams seams_;
    ULONGLONG now_ = 100000;
    std::vector<bool> flagCalls_;
    TempDir dir_;
    HWND wnd_ = nullptr;
};

}  // namespace break_test
