// The fixture of the alarm tests under Wine: each test starts and ends with an empty store
// while the clock seam reads the test's `now`; the monotonic clock runs with it, as when time
// really passes (a test that moves the wall clock alone sets `wallAheadMs`).
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "alarms/AlarmEditor.h"
#include "alarms/AlarmList.h"
#include "alarms/Scheduler.h"
#include "common/SystemSeams.h"
#include "tests/common/alarm_items.h"
#include "tests/win/support/TestSupport.h"

namespace alarms_test {

class AlarmStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ClearUserRegistry();
        seams->getLocalTime = [this](SYSTEMTIME& t) { t = now; };
        seams->tickCount = [this] {
            const alarms::LocalMoment at = alarms::ToLocalMoment(now);
            const auto wallMs = (alarms::MinuteSerial(at) * 60 + at.second) * 1000 + now.wMilliseconds;
            return static_cast<ULONGLONG>(wallMs - wallAheadMs);
        };
    }
    // The scheduler outlives the test: it reloads the emptied store.
    void TearDown() override {
        testing_support::ClearUserRegistry();
        alarms::LoadAlarmItems();
    }
    // Closes the alarm list and both item editors, whichever are open.
    static void CloseAlarmWindows() {
        alarms::CloseAlarmList();
        for (HWND editor : {alarms::AddEditorWindow(), alarms::ModifyEditorWindow()})
            if (editor) DestroyWindow(editor);
    }

    sys::ScopedSeams seams;
    SYSTEMTIME now{};
    long long wallAheadMs = 0;
};

}  // namespace alarms_test
