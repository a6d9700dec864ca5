#include "common/MonitorLayout.h"

#include <algorithm>
#include <limits>

namespace monitors {

namespace {

Rect Intersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// The gap between two intervals, 0 when they touch or overlap.
long long Gap(int aFrom, int aTo, int bFrom, int bTo) {
    if (aTo <= bFrom) return static_cast<long long>(bFrom) - aTo;
    if (bTo <= aFrom) return static_cast<long long>(aFrom) - bTo;
    return 0;
}

// The squared distance between the nearest points of two rectangles.
long long SquaredDistance(const Rect& a, const Rect& b) {
    const long long dx = Gap(a.left, a.right, b.left, b.right);
    const long long dy = Gap(a.top, a.bottom, b.top, b.bottom);
    return dx * dx + dy * dy;
}

}  // namespace

std::optional<std::size_t> PrimaryIndex(const std::vector<Monitor>& monitors) {
    if (monitors.empty()) return std::nullopt;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (monitors[i].primary) return i;
    }
    return 0;
}

std::vector<BreakWindowPlace> PlanBreakWindows(const std::vector<Monitor>& monitors) {
    std::vector<BreakWindowPlace> plan;
    const std::optional<std::size_t> primary = PrimaryIndex(monitors);
    if (!primary) return plan;
    plan.push_back({BreakWindowKind::kMain, monitors[*primary].area});
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (i != *primary) plan.push_back({BreakWindowKind::kPlain, monitors[i].area});
    }
    return plan;
}

std::vector<Rect> PlainRects(const std::vector<BreakWindowPlace>& plan) {
    std::vector<Rect> rects;
    for (const BreakWindowPlace& place : plan) {
        if (place.kind == BreakWindowKind::kPlain) rects.push_back(place.rect);
    }
    return rects;
}

CoverChange ChangeCover(const std::vector<Rect>& covered, const std::vector<Rect>& wanted) {
    CoverChange change;
    std::vector<bool> kept(covered.size(), false);
    std::vector<Rect> have;  // what stays covered, to cover each wanted rectangle once
    for (const Rect& w : wanted) {
        if (std::find(have.begin(), have.end(), w) != have.end()) continue;
        bool found = false;
        for (std::size_t i = 0; i < covered.size() && !found; ++i) {
            if (!kept[i] && covered[i] == w) kept[i] = found = true;
        }
        if (!found) change.add.push_back(w);
        have.push_back(w);
    }
    for (std::size_t i = 0; i < covered.size(); ++i) {
        if (!kept[i]) change.release.push_back(i);
    }
    return change;
}

bool VisibleEnough(const Rect& window, const std::vector<Monitor>& monitors) {
    const long long total = window.area();
    if (total == 0) return false;
    long long inside = 0;
    for (const Monitor& m : monitors) inside += Intersection(window, m.work).area();
    return inside * 2 >= total;
}

std::optional<std::size_t> NearestMonitor(const Rect& window, const std::vector<Monitor>& monitors) {
    if (monitors.empty()) return std::nullopt;
    std::size_t best = 0;
    long long bestOverlap = -1;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const long long overlap = Intersection(window, monitors[i].area).area();
        if (overlap > bestOverlap) {
            best = i;
            bestOverlap = overlap;
        }
    }
    if (bestOverlap > 0) return best;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const long long distance = SquaredDistance(window, monitors[i].area);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

int CentredOffset(int span, int size) {
    const long long diff = static_cast<long long>(span) - size;
    long long half = diff / 2;  // rounded toward zero
    const long long rest = diff - 2 * half;  // -1, 0 or 1: the exact value lies between half and half + rest
    if (rest != 0 && half % 2 != 0) half += rest;  // to the even neighbour
    return static_cast<int>(half);
}

Rect CentredIn(const Rect& area, int width, int height) {
    const int left = area.left + CentredOffset(area.width(), width);
    const int top = area.top + CentredOffset(area.height(), height);
    return {left, top, left + width, top + height};
}

Rect BringWithinReach(const Rect& window, const std::vector<Monitor>& monitors) {
    if (monitors.empty() || VisibleEnough(window, monitors)) return window;
    const Monitor& nearest = monitors[*NearestMonitor(window, monitors)];
    return CentredIn(nearest.work, window.width(), window.height());
}

}  // namespace monitors
