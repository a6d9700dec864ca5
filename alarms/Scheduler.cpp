#include "alarms/Scheduler.h"

#include "alarms/AlarmStore.h"
#include "common/SystemSeams.h"

namespace alarms {

namespace {

// The one scheduler of the process, owned here for the program's life.
DueTracker& TheScheduler() {
    static DueTracker scheduler;
    return scheduler;
}

}  // namespace

void LoadAlarmItems() {
    const int count = StoredItemCount();
    TheScheduler().Replace(ReadAllAlarmItems(count), count);
}

void CheckAlarms() { TheScheduler().Check(ToLocalMoment(sys::LocalTime())); }

const AlarmItems& ScheduledItems() { return TheScheduler().Items(); }

int LoadedItemCount() { return TheScheduler().LoadedCount(); }

void SetAlarmItemHandler(DueTracker::Handler handler) { TheScheduler().SetHandler(std::move(handler)); }

LocalMoment ToLocalMoment(const SYSTEMTIME& time) {
    LocalMoment now;
    now.date = CivilDate{time.wYear, time.wMonth, time.wDay};
    now.hour = time.wHour;
    now.minute = time.wMinute;
    now.second = time.wSecond;
    return now;
}

}  // namespace alarms
