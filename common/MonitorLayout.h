// Which window goes on which monitor, and how a window is kept within the user's reach, over a
// plain list of monitor rectangles. No platform calls: the rules hold for any list (negative
// coordinates, monitors of different sizes, the primary not first), and common/Monitors.h reads
// the list from the system.
#pragma once
#include <cstddef>
#include <optional>
#include <vector>

namespace monitors {

// A rectangle of the virtual screen; right and bottom are outside it.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    long long area() const {
        return right > left && bottom > top ? static_cast<long long>(right - left) * (bottom - top) : 0;
    }
    bool operator==(const Rect&) const = default;
};

struct Monitor {
    Rect area;             // the whole monitor
    Rect work;             // the monitor without the taskbar and docked bars
    bool primary = false;  // holds the origin of the virtual screen
    bool operator==(const Monitor&) const = default;
};

// The primary monitor: the first one flagged, else the first one. Nothing for an empty list.
std::optional<std::size_t> PrimaryIndex(const std::vector<Monitor>& monitors);

// ---- the break ----

enum class BreakWindowKind {
    kMain,   // the picture, the countdown and the buttons
    kPlain,  // a calm plain window that only covers its monitor
};

struct BreakWindowPlace {
    BreakWindowKind kind = BreakWindowKind::kMain;
    Rect rect;  // the whole monitor
    bool operator==(const BreakWindowPlace&) const = default;
};

// The break's windows: the main one on the primary monitor first, then a plain one on each other
// monitor in the list's order. Empty for an empty list.
std::vector<BreakWindowPlace> PlanBreakWindows(const std::vector<Monitor>& monitors);

// The plain windows' rectangles of the plan, in its order.
std::vector<Rect> PlainRects(const std::vector<BreakWindowPlace>& plan);

// How the plain windows follow a change of the monitors: those whose rectangle is no longer
// wanted go, and the wanted rectangles not yet covered get a new one. A rectangle is covered at
// most once, however often it is listed.
struct CoverChange {
    std::vector<std::size_t> release;  // indexes into `covered`, ascending
    std::vector<Rect> add;             // in the order of `wanted`
    bool operator==(const CoverChange&) const = default;
};
CoverChange ChangeCover(const std::vector<Rect>& covered, const std::vector<Rect>& wanted);

// ---- windows within reach ----

// True when at least half of the window lies inside the monitors' work areas (which do not
// overlap): a window that fails this is out of the user's reach.
bool VisibleEnough(const Rect& window, const std::vector<Monitor>& monitors);

// The monitor a window is on: the one that holds most of it; for a window on none of them, the
// nearest one (the shortest distance between their edges). Ties go to the earlier monitor.
// Nothing for an empty list.
std::optional<std::size_t> NearestMonitor(const Rect& window, const std::vector<Monitor>& monitors);

// (span - size) / 2 rounded to the nearest integer, halves to the even neighbour.
int CentredOffset(int span, int size);
// A width x height rectangle centred in `area` (CentredOffset on each axis).
Rect CentredIn(const Rect& area, int width, int height);

// Where a window goes so that the user can reach it: where it is when it is visible enough,
// else centred in the work area of its nearest monitor. Unchanged for an empty list.
Rect BringWithinReach(const Rect& window, const std::vector<Monitor>& monitors);

}  // namespace monitors
