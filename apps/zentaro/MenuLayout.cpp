#include "apps/zentaro/MenuLayout.h"

#include "common/DpiScale.h"

#include <array>

namespace menu {
namespace {

constexpr std::array<Entry, 16> kTopLevel{{
    {kCmdMinimise, kTextMinimise, kTypePlain},
    {2, "", kTypeSeparator},
    {kCmdOptions, "Option(&O)...", kTypePlain},
    {4, "", kTypeSeparator},
    {kCmdBreakSettings, "Break Setting(&B)...", kTypePlain},
    {kCmdBiorhythm, "Vitaro(&I)...", kTypePlain},
    {kCmdCalendar, "Calendar(&W)...", kTypePlain},
    {8, "", kTypeSeparator},
    {kCmdAlarmSettings, "Alarm Setting(&R)...", kTypePlain},
    {10, "", kTypeSeparator},
    {kCmdTimeSetting, "Time setting(&S)...", kTypePlain},
    {12, "", kTypeSeparator},
    {kCmdHelpMenu, "Help(&H)", kTypePlain},
    {kCmdAbout, "About(&A)...", kTypeFramed},
    {15, "", kTypeSeparator},
    {kCmdExit, "Exit(&X)", kTypeFramed},
}};

constexpr std::array<Entry, 2> kHelp{{
    {kCmdHelpContent, "Help Content(&C)", kTypePlain},
    {kCmdWebsite, "Website(&H)", kTypePlain},
}};

static_assert(kTopLevel[kHelpPosition].id == kCmdHelpMenu);

}  // namespace

std::span<const Entry> TopLevel() { return kTopLevel; }
std::span<const Entry> HelpSubmenu() { return kHelp; }

Size MeasureItem(unsigned type, int textWidth, int menuBarHeight, int at) {
    // Only a pure separator is thin; a separator flag combined with others keeps the full height.
    const int height = type == kTypeSeparator ? dpi::Scale(kSeparatorHeight, at) : menuBarHeight;
    return {textWidth + dpi::Scale(kWidthPadding, at), height};
}

ItemRects SplitItem(const Rect& item, int at) {
    ItemRects r{item, item, item};
    r.box.right = dpi::Scale(kBoxRight, at);
    r.frame.left = dpi::Scale(kFrameLeft, at);
    r.text.left = dpi::Scale(kTextLeft, at);
    return r;
}

Rect SeparatorLine(const Rect& item, int at) {
    const int y = item.top + dpi::Scale(kSeparatorLineOffset, at);
    const int inset = dpi::Scale(kSeparatorLineInset, at);
    return {inset, y, item.right - inset, y + 2};
}

}  // namespace menu
