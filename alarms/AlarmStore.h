// The alarm items in the registry: HKEY_CURRENT_USER\Software\Zentaro\Data holds "DataCount"
// and, for each item n = 1..DataCount, the record "Data"+n (REG_BINARY, 11 bytes) and its
// non-empty texts "Text"+n, "RunExe"+n, "WavFile"+n, "Parameters"+n (REG_SZ). Numbers have no
// gaps: deleting an item moves the last one into its place.
//
// Every operation runs on the user-interface thread and goes on past a failing registry step;
// nothing is reported to the user. Each change reaches the scheduler the moment it is stored
// (alarms/Scheduler.h), so a deleted or disabled item never runs afterwards.
#pragma once
#include "alarms/AlarmItem.h"

namespace alarms {

// The largest value the store reads (list, scheduler and editor alike). A larger value, or one
// of a type the item does not use (a record not REG_BINARY, a text not REG_SZ), reads as the
// placeholder: a damaged record (the item loads disabled) or an empty text. Reading never
// allocates more than this nor changes what is stored.
inline constexpr unsigned long kMaxStoredValue = 64 * 1024;

// "DataCount" as stored, limited to 0..kMaxItemCount; missing or not a number gives 0.
int StoredItemCount();

// Item n. When "Data"+n is missing, shorter than 11 bytes, not binary or over the limit, *recordValid is set
// to false and the item has a default record (disabled); its texts are read all the same.
// A longer record uses its first 11 bytes. Missing texts read as empty.
AlarmItem ReadAlarmItem(int n, bool* recordValid = nullptr);

// Items 1..count as ReadAlarmItem() reads them, in one pass over the key.
AlarmItems ReadAllAlarmItems(int count);

// Stores the item as number DataCount + 1 and returns that number; 0 when the store already
// holds kMaxItemCount items or the record could not be written (the count is then unchanged).
int AppendAlarmItem(const AlarmItem& item);

// Overwrites the record and texts of item n (1..DataCount; other numbers are ignored). An empty
// text deletes the stored value, so a text the user cleared cannot come back.
bool WriteAlarmItem(int n, const AlarmItem& item);

// Sets byte 0 of item n's record (1 enabled, 0 disabled) and nothing else. A missing or short
// record is left alone.
void SetAlarmItemState(int n, int state);

// Removes item k (1..DataCount; other numbers are ignored): its values are deleted, the last
// item (when k was not the last) takes number k, and "DataCount" drops by one.
void DeleteAlarmItem(int k);

}  // namespace alarms
