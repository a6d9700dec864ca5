// Wrappers that create the child controls of the template dialogs. Each creates its control
// with fixed style bits OR'ed with the caller's, hands it the dialog's font, keeps the handle,
// and destroys the control when released (Release() or destruction). No wrapper handles
// notifications: the dialog procedure receives WM_COMMAND / WM_NOTIFY itself.
//
// Operations taking (dialog, id) address any control of that dialog by its identifier; the
// others use the handle the object holds.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace controls {

// Several controls of one kind in one dialog; handles kept in creation order.
class MultiControl {
public:
    MultiControl() = default;
    MultiControl(const MultiControl&) = delete;
    MultiControl& operator=(const MultiControl&) = delete;
    ~MultiControl() { Release(); }

    // Handle of the control created in that place (0-based creation order); 0 when none.
    HWND hwnd(size_t number) const { return number < handles_.size() ? handles_[number] : nullptr; }
    size_t Count() const { return handles_.size(); }
    // Destroys every control created through this object, in creation order.
    void Release();

protected:
    void Remember(HWND h) { handles_.push_back(h); }

private:
    std::vector<HWND> handles_;  // owned; any still alive are destroyed by Release()
};

// One control; a further create replaces the stored handle (the earlier control then goes
// with its dialog).
class SingleControl {
public:
    SingleControl() = default;
    SingleControl(const SingleControl&) = delete;
    SingleControl& operator=(const SingleControl&) = delete;
    ~SingleControl() { Release(); }

    HWND hwnd() const { return handle_; }
    void Release();

protected:
    void Remember(HWND h) { handle_ = h; }

private:
    HWND handle_ = nullptr;  // owned
};

// Push buttons, check boxes and option buttons: WS_CHILD | WS_VISIBLE | WS_TABSTOP | style.
class Button : public MultiControl {
public:
    void CreateButton(HWND parent, const std::string& text, int id, int x, int y, int width, int height,
                      HFONT font, DWORD style);
    static bool GetButtonState(HWND dialog, int id);
    static void SetButtonState(HWND dialog, int id, int state);
};

// Track bar of 110 x 25 pixels, range 100..255, page and line size 26, no ticks.
class Trackbar : public SingleControl {
public:
    Trackbar();
    void CreateTrackBar(HWND parent, int id, int x, int y, DWORD style);
    int Value() const;
    void SetValue(int position);
};

// Drop-down list (no edit part); its height includes the list.
class ComboBox : public MultiControl {
public:
    void CreateCombox(HWND parent, int id, int x, int y, int width, int height, HFONT font, DWORD style);
    static void AddItem(HWND dialog, int id, const std::string& item);
    static void ListIndex(HWND dialog, int id, int index);
    static int GetSelItem(HWND dialog, int id);  // -1 when nothing is selected
    static int ListCount(HWND dialog, int id);
    // Removes every item but the first and selects the first.
    static void DeleteItem(HWND dialog, int id);
    // Text of the selected item; empty when nothing is selected.
    static std::string SelIndexText(HWND dialog, int id);
    // Widens the open list to its widest item (never narrower than the box, never wider than
    // the work area of its monitor), so long file names show whole while the user chooses.
    static void FitDropDownWidth(HWND dialog, int id);
};

// Single-line edit field with a sunken client edge, limited to maxText characters.
class Edit : public MultiControl {
public:
    void CreateEdit(HWND parent, int id, int x, int y, int width, int height, HFONT font, DWORD style,
                    int maxText);
    static std::string Text(HWND dialog, int id);
    static void SetEditText(HWND dialog, int id, const std::string& text);
};

// Date picker (the control's own font).
class DatePicker : public MultiControl {
public:
    DatePicker();
    void CreateDTPicker(HWND parent, int id, int x, int y, int width, int height, DWORD style);
    // Shows today's local date moved by `days` whole days (negative goes back).
    static void SetTodayPlus(HWND dialog, int id, int days);
};

// Static label of 200 x 18 pixels (SS_SIMPLE, no tab stop).
class Label : public SingleControl {
public:
    void CreateLabel(HWND parent, const std::string& text, int x, int y, HFONT font, DWORD style, int id);
    // Shrinks or grows a label to its text in its own font, so that its background covers
    // nothing beside the text.
    static void FitToText(HWND label);
};

// Up-down spinner, range -37390..999999, placed at (66, 88), 66 x 88 until a buddy is set.
class UpDown : public SingleControl {
public:
    UpDown();
    void CreateUpDown(HWND parent, int id);
    static void SetBuddy(HWND dialog, int id, HWND buddy);
};

// Month calendar at (22, 54), 265 x 160.
class MonthCalendar : public SingleControl {
public:
    MonthCalendar();
    void CreateMonthCalendar(HWND parent, int id);
    // Selects today's local date moved by `days` whole days.
    static void SetTodayPlus(HWND dialog, int id, int days);
};

// A top-most tool-tip window without parent.
class Tooltip : public SingleControl {
public:
    Tooltip();
    void CreateTooltip();
    // Adds window as a tracking tool: its tip shows only when told, at a given screen point,
    // and the tool tip never subclasses the window nor watches the mouse itself.
    void AddTrackingTool(HWND window);
    // Shows the tracking tool of window with text, its top left corner at `at` (screen).
    void ShowTrackingTip(HWND window, const std::string& text, POINT at);
    void HideTrackingTip(HWND window);
    int InitialDelay() const;  // ms the mouse rests before a tip shows
    void Tooltip_SetDelayTime(int milliseconds);  // how long a tip stays shown, in ms
    void Tooltip_SetMaxWidth(int maxWidth);    // pixels
};

// Fixed geometry and ranges of the wrappers.
inline constexpr int kTrackbarWidth = 110, kTrackbarHeight = 25;
inline constexpr int kTrackbarMin = 100, kTrackbarMax = 255, kTrackbarStep = 26;
inline constexpr int kLabelWidth = 200, kLabelHeight = 18;
inline constexpr int kUpDownX = 66, kUpDownY = 88, kUpDownWidth = 66, kUpDownHeight = 88;
inline constexpr int kUpDownMin = -37390, kUpDownMax = 999999;
inline constexpr int kMonthCalX = 22, kMonthCalY = 54, kMonthCalWidth = 265, kMonthCalHeight = 160;
inline constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
inline constexpr DWORD kTrackbarStyle = kButtonStyle | TBS_NOTICKS;
inline constexpr DWORD kComboStyle = kButtonStyle | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | CBS_NOINTEGRALHEIGHT;
inline constexpr DWORD kEditStyle = kButtonStyle | ES_AUTOHSCROLL;
inline constexpr DWORD kDatePickerStyle = kButtonStyle;
inline constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_SIMPLE;
inline constexpr DWORD kUpDownStyle = kButtonStyle | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS;
inline constexpr DWORD kMonthCalStyle = WS_CHILD | WS_VISIBLE;
inline constexpr DWORD kTooltipStyle = TTS_ALWAYSTIP;
}  // namespace controls
