#include "alarms/Scheduler.h"

#include "alarms/RingStore.h"
#include "shell/SystemSeams.h"

namespace alarms {

namespace {

// The one scheduler of the process, owned here for the program's life.
RingScheduler& TheScheduler() {
    static RingScheduler scheduler;
    return scheduler;
}

}  // namespace

void LoadRingItems() {
    const int count = StoredItemCount();
    TheScheduler().Replace(ReadAllRingItems(count), count);
}

void CheckAlarms() { TheScheduler().Check(ToLocalMoment(sys::LocalTime())); }

const clsSaveRingData& ScheduledItems() { return TheScheduler().Items(); }

int LoadedItemCount() { return TheScheduler().LoadedCount(); }

void SetRingItemHandler(RingScheduler::Handler handler) { TheScheduler().SetHandler(std::move(handler)); }

LocalMoment ToLocalMoment(const SYSTEMTIME& time) {
    LocalMoment now;
    now.date = CivilDate{time.wYear, time.wMonth, time.wDay};
    now.hour = time.wHour;
    now.minute = time.wMinute;
    now.second = time.wSecond;
    return now;
}

}  // namespace alarms
