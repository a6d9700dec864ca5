// The clock's popup menu: its content and the layout rules of its owner-drawn items.
// Pure: no platform types; the Win32 side (PopupMenu) converts at its edge.
#pragma once
#include <cstddef>
#include <span>
#include <string_view>

namespace menu {

// Item type flags as first added; they survive only in PopupMenu's item table once the
// items become owner-drawn.
inline constexpr unsigned kTypePlain = 0;
inline constexpr unsigned kTypeFramed = 32;       // drawn with one frame round the whole item
inline constexpr unsigned kTypeSeparator = 2048;  // MFT_SEPARATOR

// Command identifiers sent to the main window.
inline constexpr unsigned kCmdResume = 0;
inline constexpr unsigned kCmdMinimise = 1;
inline constexpr unsigned kCmdOptions = 3;
inline constexpr unsigned kCmdBreakSettings = 5;
inline constexpr unsigned kCmdBiorhythm = 6;
inline constexpr unsigned kCmdCalendar = 7;
inline constexpr unsigned kCmdAlarmSettings = 9;
inline constexpr unsigned kCmdHelpMenu = 13;
inline constexpr unsigned kCmdTimeSetting = 11;
inline constexpr unsigned kCmdAbout = 14;
inline constexpr unsigned kCmdExit = 16;
inline constexpr unsigned kCmdHelpContent = 17;
inline constexpr unsigned kCmdWebsite = 19;

inline constexpr const char* kTextMinimise = "Minimized(&M)";
inline constexpr const char* kTextResume = "Resume(&M)";
// The first item alternates between Minimise and Resume.
inline constexpr std::size_t kMinimiseResumePosition = 0;

struct Entry {
    unsigned id;
    const char* text;  // empty for separators
    unsigned type;
};

// The popup, top to bottom. The Help item opens the Help submenu.
std::span<const Entry> TopLevel();
// The Help submenu.
std::span<const Entry> HelpSubmenu();
// Position of the Help item in TopLevel().
inline constexpr std::size_t kHelpPosition = 12;

// Left column of an item: the raised box lies left of kBoxRight, the frame of the selection
// starts at kFrameLeft and the caption at kTextLeft.
inline constexpr int kBoxRight = 19;
inline constexpr int kFrameLeft = 20;
inline constexpr int kTextLeft = 23;
// Room added to the caption's measured width.
inline constexpr int kWidthPadding = 19;
inline constexpr int kSeparatorHeight = 6;
// The etched line of a separator: its offset below the item's top and its inset from both sides.
inline constexpr int kSeparatorLineOffset = 2;
inline constexpr int kSeparatorLineInset = 3;

struct Size { int width; int height; };
struct Rect { int left, top, right, bottom; };

// The measures above are in 96-DPI units; the functions below take the menu's DPI (96 when
// left out) and give pixels at it.
inline constexpr int kMenuBaseDpi = 96;

// Size an item asks for, from its caption's measured width and the menu height, both in pixels.
Size MeasureItem(unsigned type, int textWidth, int menuBarHeight, int dpi = kMenuBaseDpi);

// The parts of an item rectangle that drawing uses.
struct ItemRects {
    Rect box;    // raised box of a selected plain item
    Rect frame;  // sunken frame of a selected plain item
    Rect text;   // caption
};
ItemRects SplitItem(const Rect& item, int dpi = kMenuBaseDpi);

// The strip along which a separator's etched line is drawn (its top edge is the line).
Rect SeparatorLine(const Rect& item, int dpi = kMenuBaseDpi);

inline bool IsSeparator(unsigned type) { return (type & kTypeSeparator) != 0; }
inline bool IsFramed(unsigned type) { return (type & kTypeFramed) != 0; }

}  // namespace menu
