// The scheduler of the main program: its in-memory copy of the alarm items, filled by
// LoadAlarmItems(), and CheckAlarms(), called on every tick of the main window's timer.
//
// Due items are handed to one replaceable handler, the seam between the scheduler and the
// alarm actions: production code points it at the actions (FireAlarmItem); tests install a
// recorder. Until a handler is set, due items are noted as fired and nothing happens.
//
// Re-entry: a handler may open a modal dialog whose message loop dispatches the main
// window's timer, so CheckAlarms() runs again inside the handler. That nested pass fires the
// items due after the one whose dialog is open (never one that has fired in that minute);
// items it has not reached fire when the dialog returns. A handler may also call
// LoadAlarmItems() (an editor's OK while a dialog is open); the pass then continues on the new
// copy without firing anything twice. See alarms/DueTracker.h for the exact rules.
#pragma once
#include <windows.h>

#include "alarms/DueTracker.h"

namespace alarms {

// Replaces the in-memory copy with the items of the registry. An item whose record is damaged
// (missing, short, not binary) is loaded disabled at its own position, so positions still
// match the list rows; the others work as usual.
void LoadAlarmItems();

// One tick: fires every enabled item due in the current local minute (sys::LocalTime()) that
// has not fired in that minute yet.
void CheckAlarms();

// The in-memory copy (positions 1-based) and the number of positions the scheduler looks at.
const AlarmItems& ScheduledItems();
int LoadedItemCount();

// Sets the action run for each due item; an empty handler makes due items do nothing.
void SetAlarmItemHandler(DueTracker::Handler handler);

// The local time of the clock as the pure logic sees it.
LocalMoment ToLocalMoment(const SYSTEMTIME& time);

}  // namespace alarms
