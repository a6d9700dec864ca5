// The biorhythm window's controls: identifiers, positions (pixels from the client area's
// top-left), texts and colours. Shared by the window and the tests that drive it.
#pragma once
#include <cstdint>

namespace bio::ui {

struct Box {
    int x, y, width, height;
};

inline constexpr const char* kTitle = "Vitaro";
inline constexpr int kClientWidth = 422;
inline constexpr int kClientHeight = 379;

// Control identifiers.
enum ControlId : int {
    kIdChart = 100,
    kIdEmotional = 101,
    kIdPhysical = 102,
    kIdIntellectual = 103,
    kIdRulers = 104,
    kIdDayLabel = 110,
    kIdMonthLabel = 111,
    kIdYearLabel = 112,
    kIdDayBack = 120,
    kIdDayForth = 121,
    kIdMonthBack = 122,
    kIdMonthForth = 123,
    kIdYearBack = 124,
    kIdYearForth = 125,
    kIdCycles4 = 134,  // value lines 4..7: Emotional, Physical, Intellectual, Average
    kIdReset = 140,
    kIdBirthHeading = 141,
    kIdDateHeading = 142,
    kIdBirthBox1 = 151,  // month, day, year
    kIdBirthSpin1 = 161,
    kIdDateBox1 = 171,
    kIdDateSpin1 = 181,
    kIdSlash1 = 190,  // four "/" labels between the boxes
    kIdDays = 200,
    kIdSystemDate = 201,
    kIdColorPanel = 210,
    kIdColorOption1 = 211,  // six colour choices, slot order
    kIdColorScroll1 = 221,  // red, green, blue
    kIdColorNumber1 = 231,
    kIdColorPreview = 240,
};

// The six date boxes in one index: 0..2 birth month, day, year; 3..5 current month, day, year.
inline constexpr int kBoxCount = 6;
inline constexpr int BoxId(int box) { return box < 3 ? kIdBirthBox1 + box : kIdDateBox1 + box - 3; }
inline constexpr int SpinId(int box) { return box < 3 ? kIdBirthSpin1 + box : kIdDateSpin1 + box - 3; }

// Upper frame: light grey, holds everything down to the step rows; it starts above the
// client area and runs past its right edge, so only its lower edge shows.
inline constexpr Box kUpperFrame{0, -6, 424, 304};
inline constexpr Box kChart{2, 2, 418, 223};
// The step rows and value lines sit right of the legend's check boxes; the value lines are
// as wide as " Intellectual :  Crucial Day", and the check boxes give up the room for it.
inline constexpr Box kCheckBoxes[4] = {{3, 225, 101, 19}, {3, 243, 101, 19}, {3, 261, 101, 19}, {3, 279, 100, 16}};
inline constexpr const char* kCheckTexts[4] = {"Emotional", "Physical", "Intellectual", "Rulers"};
// The row headings sit between the check boxes and the step buttons, as wide as "Month".
inline constexpr int kRowLabelX = 104, kRowLabelWidth = 51, kRowLabelHeight = 22;
inline constexpr int kRowLabelY[3] = {226, 250, 274};
inline constexpr const char* kRowTexts[3] = {"Day", "Month", "Year"};
inline constexpr int kStepBackX = 156, kStepForthX = 188, kStepWidth = 29, kStepHeight = 24;
inline constexpr int kStepRowY[3] = {225, 250, 274};
inline constexpr const char* kStepBackText = "<---";
inline constexpr const char* kStepForthText = "--->";
inline constexpr Box kValuePanel{218, 225, 148, 73};
inline constexpr int kValueLineOffset[4] = {0, 18, 36, 54};
inline constexpr int kValueLineWidth = 149, kValueLineHeight = 19;
inline constexpr Box kReset{368, 228, 53, 67};
inline constexpr const char* kResetText = "Current Date";
inline constexpr Box kBirthHeading{8, 304, 120, 18};
inline constexpr Box kDateHeading{224, 304, 120, 18};
inline constexpr const char* kBirthHeadingText = "Birthdate";
inline constexpr const char* kDateHeadingText = "Current Date";
inline constexpr int kBirthBoxX[3] = {8, 68, 128};
inline constexpr int kDateBoxX[3] = {224, 284, 344};
inline constexpr int kBoxRowY = 328, kBoxWidth = 38, kBoxHeight = 20;
inline constexpr int kSpinSize = 16, kSpinTop = 330;  // at the right of each box
inline constexpr int kSlashOffset = kBoxWidth + kSpinSize, kSlashWidth = 6;
inline constexpr Box kDays{8, 352, 185, 16};
inline constexpr Box kSystemDate{224, 352, 184, 22};
inline constexpr const char* kSystemDateText = "Apply System  Date";  // two blanks, as it always read

// Colour panel, below the fixed client area (so not visible in the window).
inline constexpr Box kColorPanel{8, 416, 400, 139};
inline constexpr const char* kColorPanelText = "Graph Colors";
inline constexpr int kColorOptionX = 16, kColorOptionY = 434, kColorOptionStep = 18, kColorOptionWidth = 130;
inline constexpr int kColorScrollX = 156, kColorScrollY = 440, kColorScrollStep = 28, kColorScrollWidth = 180;
inline constexpr int kColorNumberX = 344, kColorNumberWidth = 40, kColorRowHeight = 16;
inline constexpr Box kColorPreview{156, 526, 228, 20};
inline constexpr int kColorMax = 255, kColorPage = 10;

// Colours (red + 256 * green + 65536 * blue).
inline constexpr std::uint32_t kFrameGrey = 192 + 256 * 192 + 65536 * 192;
inline constexpr std::uint32_t kPanelRed = 255 + 256 * 128 + 65536 * 128;
inline constexpr std::uint32_t kWhiteColor = 16777215;
inline constexpr std::uint32_t kCheckColors[4] = {65535, 65280, 255, 16777215};  // yellow, green, red, white

// Fonts: the controls' default, the step rows' headings, the date groups' headings.
inline constexpr const char* kControlFont = "MS Sans Serif";
inline constexpr int kControlFontPoints = 8;
inline constexpr const char* kRowFont = "Arial";
inline constexpr int kRowFontPoints = 12;
inline constexpr const char* kHeadingFont = "Verdana";
inline constexpr int kHeadingFontPoints = 9;

}  // namespace bio::ui
