// The options dialog against a real clock window: what it shows on opening, what Apply and OK
// store and do to the clock, the opacity preview, Browse, closing, and the skin preview's pixels.
// The modal dialog is driven from inside: a thread timer set before it opens finds it and acts.
#include "face/OptionsDialog.h"
#include "common/Handles.h"
#include "apps/zentaro/MainCommands.h"
#include "apps/zentaro/MainWindow.h"
#include "common/ProgramPath.h"
#include "common/Registry.h"
#include "common/Settings.h"
#include "common/WindowText.h"
#include "common/SystemSeams.h"
#include "common/Wake.h"
#include "tests/common/script_texts.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>

using testing_support::ClearUserRegistry;
using testing_support::MakeBmp;
using testing_support::PumpPending;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

namespace {

constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kTeal = RGB(0, 128, 128);
constexpr COLORREF kAmber = RGB(250, 200, 0);

// The dialog has run its closing steps (it is destroyed once its modal loop returns).
bool Ended(HWND dlg) { return !IsWindow(dlg) || toolkit::DialogState<void>(dlg) == nullptr; }

// Runs the options dialog over `main`; `act` runs inside it once it is open. The dialog is
// cancelled afterwards if `act` left it open, so a failing test never hangs.
void WithOptionsDialog(HWND main, const std::function<void(HWND dlg)>& act) {
    static const std::function<void(HWND)>* pending = nullptr;
    pending = &act;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND dlg = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) {
            char cls[16] = {}, text[16] = {};
            GetClassNameA(w, cls, sizeof cls);
            GetWindowTextA(w, text, sizeof text);
            if (std::string(cls) == "#32770" && std::string(text) == options::kCaption) {
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&dlg));
        // Act once the dialog is shown, as a user would.
        if (!dlg || !pending || !IsWindowVisible(dlg)) return;
        KillTimer(nullptr, id);
        const auto* todo = pending;
        pending = nullptr;
        UpdateWindow(dlg);
        (*todo)(dlg);
        if (!Ended(dlg)) SendMessageA(dlg, WM_COMMAND, options::kIdCancel, 0);
    });
    options::ShowOptionsDialog(main, zentaro::ShowStoredFace);
    KillTimer(nullptr, timer);
    pending = nullptr;
}

RECT ChildRect(HWND dlg, int id) {
    RECT r{};
    HWND child = GetDlgItem(dlg, id);
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string ListText(HWND dlg, int id, int index) {
    char text[MAX_PATH] = {};
    if (SendDlgItemMessageA(dlg, id, CB_GETLBTEXTLEN, index, 0) >= static_cast<LRESULT>(sizeof text)) return "<long>";
    SendDlgItemMessageA(dlg, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

BYTE ClockOpacity(HWND main) {
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(main, nullptr, &alpha, &flags);
    return alpha;
}

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void Click(HWND dlg, int id) { SendMessageA(dlg, WM_COMMAND, static_cast<WPARAM>(id), 0); }
void SetChecked(HWND dlg, int id, bool on) { CheckDlgButton(dlg, id, on ? BST_CHECKED : BST_UNCHECKED); }
void SelectEntry(HWND dlg, int id, int index) {
    SendDlgItemMessageA(dlg, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// A background: `edge` colour at its top-left (cut away), `inside` elsewhere, and one black
// marker that puts the time area at (markerX - 109, markerY).
std::string Background(int w, int h, COLORREF inside, int markerX, int markerY) {
    return MakeBmp(w, h, [=](int x, int y) {
        if (x == markerX && y == markerY) return RGB(0, 0, 0);
        if (x < 3 || y < 3) return kMagenta;
        return inside;
    });
}
std::string GlyphStrip(COLORREF colour) { return MakeBmp(180, 25, [=](int, int) { return colour; }); }

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearUserRegistry();
        seams_->getLocalTime = [](SYSTEMTIME& t) {
            t = {};
            t.wYear = 2026; t.wMonth = 12; t.wDay = 8; t.wHour = 21; t.wMinute = 34; t.wSecond = 56;
        };
    }
    void TearDown() override {
        wake::SetEnabled(false);
        if (HWND w = zentaro::MainWindowHandle()) DestroyWindow(w);
        UnregisterClassA(zentaro::kMainClassName, GetModuleHandleA(nullptr));
        PumpPending();
    }
    HWND OpenClock() {
        EXPECT_TRUE(zentaro::RegisterMainClass(zentaro::kMainClassName));
        HWND w = zentaro::CreateMainWindow(zentaro::kMainClassName, WS_EX_LAYERED, "");
        EXPECT_NE(w, nullptr);
        if (w) zentaro::StartMainWindow(w);
        PumpPending();
        return w;
    }
    sys::ScopedSeams seams_;
};

TEST_F(OptionsDialogTest, FreshProfileShowsDefaults) {
    HWND main = OpenClock();
    WithOptionsDialog(main, [&](HWND dlg) {
        char caption[32] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "Option");
        RECT frame{};
        GetWindowRect(dlg, &frame);
        EXPECT_EQ(frame.right - frame.left, 450);
        EXPECT_EQ(frame.bottom - frame.top, 412);
        EXPECT_EQ(controls::Edit::Text(dlg, options::kIdSkinPath), paths::ProgramDirectory());
        // Focus exists only while this thread's window is the active one; test programs running
        // beside this one on the same display may hold the foreground.
        if (GetForegroundWindow() == dlg) {
            EXPECT_EQ(GetFocus(), GetDlgItem(dlg, options::kIdSkinPath));
        }
        for (int list : {options::kIdBackgroundList, options::kIdGlyphList}) {
            SCOPED_TRACE(list);
            EXPECT_EQ(ListText(dlg, list, 0), "Default");
            EXPECT_EQ(controls::ComboBox::GetSelItem(dlg, list), -1);
        }
        for (int box = options::kIdRandomBackground; box <= options::kIdWakeForAlarms; ++box) {
            if (box == options::kIdGlyphList) continue;
            EXPECT_FALSE(controls::Button::GetButtonState(dlg, box)) << box;
        }
        EXPECT_EQ(SendDlgItemMessageA(dlg, options::kIdOpacity, TBM_GETPOS, 0, 0), 188);
    });
}

TEST_F(OptionsDialogTest, ControlsSitAtTheirPlaces) {
    struct Place { const char* what; int id; int x, y, w, h; bool group; };
    const Place places[] = {
        {"OK", options::kIdOk, 195, 358, 72, 21, true},
        {"Cancel", options::kIdCancel, 275, 358, 72, 21, false},
        {"Apply", options::kIdApply, 355, 358, 72, 21, false},
        {"opacity slider", options::kIdOpacity, 310, 17, 110, 25, true},
        {"Browse", options::kIdBrowse, 215, 20, 66, 20, false},
        {"skin directory", options::kIdSkinPath, 20, 20, 185, 20, false},
        {"random background", options::kIdRandomBackground, 20, 98, 180, 16, false},
        {"random glyph strip", options::kIdRandomGlyphs, 20, 166, 180, 20, false},
        {"always on top", options::kIdTopmost, 20, 212, 180, 18, true},
        {"start with the system", options::kIdAutoRun, 20, 231, 180, 18, false},
        {"minimised on start", options::kIdIconRun, 20, 249, 180, 18, false},
        {"wake for alarms", options::kIdWakeForAlarms, 20, 267, 180, 28, false},
        {"the line under it", options::kIdWakeLine, 20, 304, 406, 48, false},
    };
    HWND main = OpenClock();
    WithOptionsDialog(main, [&](HWND dlg) {
        for (const Place& p : places) {
            SCOPED_TRACE(p.what);
            const RECT r = ChildRect(dlg, p.id);
            EXPECT_EQ(r.left, p.x);
            EXPECT_EQ(r.top, p.y);
            EXPECT_EQ(r.right - r.left, p.w);
            EXPECT_EQ(r.bottom - r.top, p.h);
            EXPECT_EQ((GetWindowLongPtrA(GetDlgItem(dlg, p.id), GWL_STYLE) & WS_GROUP) != 0, p.group);
        }
        // The drop-down lists: position and width (the height is the closed box's own).
        for (auto [id, y] : {std::pair{options::kIdBackgroundList, 72}, std::pair{options::kIdGlyphList, 144}}) {
            const RECT r = ChildRect(dlg, id);
            EXPECT_EQ(r.left, 20);
            EXPECT_EQ(r.top, y);
            EXPECT_EQ(r.right - r.left, 175);
            EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(dlg, id), GWL_STYLE) & CBS_SORT, 0);
        }
        EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(dlg, options::kIdOk), GWL_STYLE) & BS_DEFPUSHBUTTON);
        EXPECT_EQ(SendDlgItemMessageA(dlg, options::kIdSkinPath, EM_GETLIMITTEXT, 0, 0), 250);
    });
}

TEST_F(OptionsDialogTest, ShowsEveryTextWhole) {
    HWND main = OpenClock();
    WithOptionsDialog(main, [&](HWND dlg) { EXPECT_EQ("", testing_support::ClippedTextReport(dlg)); });
}

TEST_F(OptionsDialogTest, ApplyStoresEveryValueAndReshapesTheClock) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("wide.bmp"), Background(170, 60, kTeal, 150, 20)));
    ASSERT_TRUE(WriteFileBytes(dir.file("strip.bmp"), GlyphStrip(kAmber)));
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, dir.path());
    HWND main = OpenClock();

    // The machine-wide Run key is stood in for by a private key while Apply runs.
    HKEY machine = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "MachineStandIn", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &machine,
                              nullptr),
              ERROR_SUCCESS);
    WithOptionsDialog(main, [&](HWND dlg) {
        EXPECT_EQ(controls::Edit::Text(dlg, options::kIdSkinPath), dir.path());
        ASSERT_EQ(controls::ComboBox::ListCount(dlg, options::kIdBackgroundList), 2);
        ASSERT_EQ(controls::ComboBox::ListCount(dlg, options::kIdGlyphList), 2);
        SelectEntry(dlg, options::kIdBackgroundList, 1);
        SelectEntry(dlg, options::kIdGlyphList, 1);
        SendDlgItemMessageA(dlg, options::kIdOpacity, TBM_SETPOS, TRUE, 230);
        for (int box : {options::kIdRandomBackground, options::kIdTopmost, options::kIdAutoRun, options::kIdIconRun})
            SetChecked(dlg, box, true);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine);
        Click(dlg, options::kIdApply);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    });

    using namespace settings;
    struct Stored { const char* key; const char* name; std::string text; };
    const Stored stored[] = {
        {kLoadKey, kAlpha, "230"},        {kOptionKey, kSkinPath, dir.path()}, {kOptionKey, kSelBackBmp, "1"},
        {kOptionKey, kSelTimeBmp, "1"},   {kLoadKey, kBmpBack, "wide.bmp"},    {kLoadKey, kBmpTime, "strip.bmp"},
        {kOptionKey, kRndBackBmp, "1"},   {kOptionKey, kRndTimeBmp, "0"},      {kOptionKey, kAutoRun, "1"},
        {kOptionKey, kIconRun, "1"},      {kOptionKey, kWindowpos, "1"},
    };
    for (const Stored& s : stored) EXPECT_EQ(ReadText(s.key, s.name), s.text) << s.name;
    const registry::RegValue run = registry::RegReadValue(machine, kRunKey, kRunValue);
    EXPECT_EQ(run.TextOrEmpty().find("win_options_dialog.exe") != std::string::npos, true) << run.TextOrEmpty();
    RegCloseKey(machine);

    // The face was reloaded: the window follows the new background, and is on top.
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 170);
    EXPECT_EQ(r.bottom - r.top, 60);
    EXPECT_TRUE(GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Closing with Cancel put back the stored opacity, which is now the applied one.
    EXPECT_EQ(ClockOpacity(main), 230);
}

// The line under the ticked wake option for a plan setting (every setting is in the unit tests)
// and without resume; OK stores the option and switches the wake on and off.
TEST_F(OptionsDialogTest, WakeOptionShowsWhyTheComputerMayNotWake) {
    const std::string blocked = std::string(wake::kWakeBlockedText) + " This applies on ";
    struct Case { const char* what; wake::PlanWakeSettings plan; DWORD timer; bool on; std::string line; } cases[] = {
        {"box clear, wake timers disabled", {0u, 0u}, ERROR_SUCCESS, false, ""},
        {"wake timers allowed", {1u, 1u}, ERROR_SUCCESS, true, ""},
        {"disabled on mains", {0u, 1u}, ERROR_SUCCESS, true, blocked + "mains power."},
        {"no resume", {1u, 1u}, ERROR_NOT_SUPPORTED, true, blocked + "mains power and on battery."},
    };
    HWND main = OpenClock();
    seams_->wakeTask = [](std::optional<std::int64_t>) { return S_OK; };
    wake::Rearm(1'900'000'000, 1'800'000'000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        seams_->planWake = [plan = c.plan] { return plan; };
        seams_->wakeTimer = [timer = c.timer](std::optional<std::int64_t>) { return timer; };
        WithOptionsDialog(main, [&](HWND dlg) {
            EXPECT_EQ(win::ItemText(dlg, options::kIdWakeLine), "");
            SetChecked(dlg, options::kIdWakeForAlarms, c.on);
            Click(dlg, options::kIdOk);
        });
        EXPECT_EQ(settings::ReadText(settings::kOptionKey, settings::kWakeForAlarms), c.on ? "1" : "0");
        EXPECT_EQ(wake::Enabled(), c.on);
        WithOptionsDialog(main, [&](HWND dlg) {
            EXPECT_EQ(win::ItemText(dlg, options::kIdWakeLine), c.line);
            EXPECT_EQ("", testing_support::ClippedTextReport(dlg));
            SetChecked(dlg, options::kIdWakeForAlarms, false);
            Click(dlg, options::kIdWakeForAlarms);
            EXPECT_EQ(win::ItemText(dlg, options::kIdWakeLine), "") << "cleared, nothing to say";
            Click(dlg, options::kIdOk);
        });
    }
}

namespace {

std::wstring EntryText(HWND dlg, int id, int index) {
    HWND list = GetDlgItem(dlg, id);
    std::wstring text(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0)) + 1, L'\0');
    const LRESULT got = SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

}  // namespace

TEST_F(OptionsDialogTest, SkinFolderAndFilesNamedInAnyScriptAreListedAndLoaded) {
    ASSERT_EQ(65001u, GetACP()) << "the manifest's UTF-8 code page";
    TempDir root;
    for (const scripts_test::ScriptText& row : scripts_test::kScriptTexts) {
        SCOPED_TRACE(row.script);
        const std::string folder = root.file(row.name);
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        const std::string back = std::string(row.name) + ".bmp", glyphs = std::string(row.name) + " digits.bmp";
        ASSERT_TRUE(WriteFileBytes(folder + "\\" + back, Background(170, 60, kTeal, 150, 20)));
        ASSERT_TRUE(WriteFileBytes(folder + "\\" + glyphs, GlyphStrip(kAmber)));
        settings::WriteText(settings::kOptionKey, settings::kSkinPath, folder);
        HWND main = OpenClock();
        WithOptionsDialog(main, [&](HWND dlg) {
            EXPECT_EQ(win::Wide(folder), win::Wide(controls::Edit::Text(dlg, options::kIdSkinPath)));
            ASSERT_EQ(controls::ComboBox::ListCount(dlg, options::kIdBackgroundList), 2);
            ASSERT_EQ(controls::ComboBox::ListCount(dlg, options::kIdGlyphList), 2);
            EXPECT_EQ(win::Wide(back), EntryText(dlg, options::kIdBackgroundList, 1));
            EXPECT_EQ(win::Wide(glyphs), EntryText(dlg, options::kIdGlyphList, 1));
            SelectEntry(dlg, options::kIdBackgroundList, 1);
            SelectEntry(dlg, options::kIdGlyphList, 1);
            Click(dlg, options::kIdApply);
        });
        EXPECT_EQ(back, settings::ReadText(settings::kLoadKey, settings::kBmpBack));
        EXPECT_EQ(glyphs, settings::ReadText(settings::kLoadKey, settings::kBmpTime));
        // The face loaded the background: the window follows its size.
        RECT r{};
        GetWindowRect(main, &r);
        EXPECT_EQ(r.right - r.left, 170);
        EXPECT_EQ(r.bottom - r.top, 60);
        TearDown();
        for (const std::string& file : {back, glyphs}) DeleteFileA((folder + "\\" + file).c_str());
        RemoveDirectoryA(folder.c_str());
        ClearUserRegistry();
    }
}

TEST_F(OptionsDialogTest, ClearingAlwaysOnTopEndsTopmost) {
    settings::WriteDword(settings::kOptionKey, settings::kWindowpos, 1);
    HWND main = OpenClock();
    ASSERT_TRUE(GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    WithOptionsDialog(main, [&](HWND dlg) {
        EXPECT_TRUE(controls::Button::GetButtonState(dlg, options::kIdTopmost));
        SetChecked(dlg, options::kIdTopmost, false);
        Click(dlg, options::kIdApply);
    });
    EXPECT_FALSE(GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(settings::ReadText(settings::kOptionKey, settings::kWindowpos), "0");
}

TEST_F(OptionsDialogTest, SliderReleasePreviewsOpacityAndCancelRestoresIt) {
    settings::WriteDword(settings::kLoadKey, settings::kAlpha, 200);
    HWND main = OpenClock();
    ASSERT_EQ(ClockOpacity(main), 200);
    WithOptionsDialog(main, [&](HWND dlg) {
        HWND slider = GetDlgItem(dlg, options::kIdOpacity);
        SendMessageA(slider, TBM_SETPOS, TRUE, 120);
        // While dragging nothing changes; the end of the move applies it.
        SendMessageA(dlg, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 120), reinterpret_cast<LPARAM>(slider));
        EXPECT_EQ(ClockOpacity(main), 200);
        SendMessageA(dlg, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(slider));
        EXPECT_EQ(ClockOpacity(main), 120);
        Click(dlg, options::kIdCancel);
        EXPECT_TRUE(Ended(dlg));
    });
    EXPECT_EQ(ClockOpacity(main), 200);
    EXPECT_EQ(settings::ReadText(settings::kLoadKey, settings::kAlpha), "200");
}

TEST_F(OptionsDialogTest, BrowseToEmptyFolderThenOkStoresDefaultAndDeletesTheSkinLists) {
    TempDir skins, empty;
    ASSERT_TRUE(WriteFileBytes(skins.file("wide.bmp"), Background(170, 60, kTeal, 150, 20)));
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, skins.path());
    options::ScopedFolderChooser chooser([&](HWND) { return empty.path(); });
    HWND main = OpenClock();
    WithOptionsDialog(main, [&](HWND dlg) {
        ASSERT_EQ(controls::ComboBox::ListCount(dlg, options::kIdBackgroundList), 2);
        EXPECT_TRUE(KeyExists(settings::kBackgroundListKey));
        Click(dlg, options::kIdBrowse);
        EXPECT_EQ(controls::Edit::Text(dlg, options::kIdSkinPath), empty.path());
        for (int list : {options::kIdBackgroundList, options::kIdGlyphList}) {
            EXPECT_EQ(controls::ComboBox::ListCount(dlg, list), 1);
            EXPECT_EQ(controls::ComboBox::GetSelItem(dlg, list), 0);
        }
        Click(dlg, options::kIdOk);
        EXPECT_TRUE(Ended(dlg));
    });
    EXPECT_EQ(settings::ReadText(settings::kLoadKey, settings::kBmpBack), "Default");
    EXPECT_EQ(settings::ReadText(settings::kLoadKey, settings::kBmpTime), "Default");
    EXPECT_EQ(settings::ReadText(settings::kOptionKey, settings::kSkinPath), empty.path());
    EXPECT_FALSE(KeyExists(settings::kSkinKey));
}

// The open list of a skin box is as wide as its longest file name, and only the box's width
// when the names fit in it.
TEST_F(OptionsDialogTest, OpenSkinListsShowLongFileNamesWhole) {
    TempDir skins, empty;
    const std::string longName = "an evening background with a long and careful description of its colours.bmp";
    ASSERT_TRUE(WriteFileBytes(skins.file(longName), Background(170, 60, kTeal, 150, 20)));
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, skins.path());
    options::ScopedFolderChooser chooser([&](HWND) { return empty.path(); });
    HWND main = OpenClock();
    WithOptionsDialog(main, [&](HWND dlg) {
        auto boxWidth = [&](int id) {
            RECT r{};
            GetWindowRect(GetDlgItem(dlg, id), &r);
            return static_cast<int>(r.right - r.left);
        };
        auto droppedWidth = [&](int id) {
            return static_cast<int>(SendDlgItemMessageA(dlg, id, CB_GETDROPPEDWIDTH, 0, 0));
        };
        HWND backgrounds = GetDlgItem(dlg, options::kIdBackgroundList);
        ASSERT_EQ(controls::ComboBox::ListCount(dlg, options::kIdBackgroundList), 2);
        SIZE text{};
        {
            win::WindowDC dc(backgrounds);
            win::ScopedSelect font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(backgrounds, WM_GETFONT, 0, 0)));
            text.cx = win::TextWidth(dc.get(), longName);
        }
        ASSERT_GT(text.cx, boxWidth(options::kIdBackgroundList)) << "the name must be longer than the box";
        EXPECT_GE(droppedWidth(options::kIdBackgroundList), text.cx);
        EXPECT_LE(droppedWidth(options::kIdBackgroundList), GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(droppedWidth(options::kIdGlyphList), boxWidth(options::kIdGlyphList));

        Click(dlg, options::kIdBrowse);  // to a folder without skins: only "Default" is left
        EXPECT_EQ(droppedWidth(options::kIdBackgroundList), boxWidth(options::kIdBackgroundList));
        Click(dlg, options::kIdCancel);
    });
}

TEST_F(OptionsDialogTest, OkWhileMinimisedRestoresThenReloads) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("tall.bmp"), Background(140, 90, kTeal, 130, 30)));
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, dir.path());
    HWND main = OpenClock();
    ShowWindow(main, SW_MINIMIZE);
    PumpPending();
    ASSERT_TRUE(IsIconic(main));
    WithOptionsDialog(main, [&](HWND dlg) {
        SelectEntry(dlg, options::kIdBackgroundList, 1);
        Click(dlg, options::kIdOk);
    });
    PumpPending();
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(main));
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 140);
    EXPECT_EQ(r.bottom - r.top, 90);
}

TEST_F(OptionsDialogTest, StoredSelectionsAndBoxesAreShown) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("wide.bmp"), Background(170, 60, kTeal, 150, 20)));
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, dir.path());
    struct Case { const char* what; const char* selBack; int back; const char* iconRun; bool ticked; };
    const Case cases[] = {
        {"first file", "1", 1, "1", true},
        {"beyond the list gives Default", "5", 0, "0", false},
        {"not numeric leaves no selection", "x", -1, "abc", false},
        {"stored without a selection", "-1", -1, "2", true},
    };
    HWND main = OpenClock();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings::WriteText(settings::kOptionKey, settings::kSelBackBmp, c.selBack);
        settings::WriteText(settings::kOptionKey, settings::kIconRun, c.iconRun);
        WithOptionsDialog(main, [&](HWND dlg) {
            EXPECT_EQ(controls::ComboBox::GetSelItem(dlg, options::kIdBackgroundList), c.back);
            EXPECT_EQ(controls::Button::GetButtonState(dlg, options::kIdIconRun), c.ticked);
        });
    }
}

TEST_F(OptionsDialogTest, MissingSkinDirectoryShowsTheProgramsDirectory) {
    settings::WriteText(settings::kOptionKey, settings::kSkinPath, "C:\\no\\such\\skins");
    HWND main = OpenClock();
    WithOptionsDialog(main, [&](HWND dlg) {
        EXPECT_EQ(controls::Edit::Text(dlg, options::kIdSkinPath), paths::ProgramDirectory());
    });
}

// ---- the preview ----

class PreviewTest : public OptionsDialogTest {
protected:
    // The dialog's client area painted onto a fresh surface, read back pixel by pixel.
    struct Canvas : testing_support::PaintSurface {
        Canvas() : PaintSurface(450, 330) {}
        COLORREF at(int x, int y) const { return GetPixel(dc(), x, y); }
    };
    static void Paint(HWND dlg, Canvas& c) { options::PaintOptionsDialog(c.dc(), dlg); }

    // Makes `dir` the skin folder with "face.bmp", a 150 x 60 teal background whose marker at
    // (140, 10) puts the time area at (31, 10), and opens the clock.
    HWND OpenWithFace(const TempDir& dir) {
        EXPECT_TRUE(WriteFileBytes(dir.file("face.bmp"), Background(150, 60, kTeal, 140, 10)));
        settings::WriteText(settings::kOptionKey, settings::kSkinPath, dir.path());
        return OpenClock();
    }
};

TEST_F(PreviewTest, ShowsTheChosenBackgroundCentredWithTheTimeAtItsMarker) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("strip.bmp"), GlyphStrip(kAmber)));
    // The face, 150 x 60, centred on (325, 165): left 250, top 135; time area at (31, 10).
    HWND main = OpenWithFace(dir);
    WithOptionsDialog(main, [&](HWND dlg) {
        SelectEntry(dlg, options::kIdBackgroundList, 1);
        SelectEntry(dlg, options::kIdGlyphList, 1);
        Canvas c;
        Paint(dlg, c);
        struct Probe { const char* what; int x; int y; COLORREF colour; };
        const Probe probes[] = {
            {"top-left colour left out: silver shows", 250, 135, kSilver},
            {"its edge column is left out too", 251, 170, kSilver},
            {"background inside", 260, 180, kTeal},
            {"background's bottom-right corner", 399, 194, kTeal},
            {"just outside the background", 400, 194, kSilver},
            {"time area's first glyph", 250 + 31 + 2, 135 + 10 + 2, kAmber},
            {"time area's last column", 250 + 31 + 110, 135 + 10 + 24, kAmber},
            {"below the time area", 250 + 31 + 2, 135 + 10 + 25, kTeal},
            {"preview area outside the image", 230, 80, kSilver},
        };
        for (const Probe& p : probes) EXPECT_EQ(c.at(p.x, p.y), p.colour) << p.what;
    });
}

TEST_F(PreviewTest, SelectionChangeInvalidatesOnlyThePreview) {
    TempDir dir;
    HWND main = OpenWithFace(dir);
    WithOptionsDialog(main, [&](HWND dlg) {
        UpdateWindow(dlg);
        RECT before{};
        EXPECT_FALSE(GetUpdateRect(dlg, &before, FALSE));
        SelectEntry(dlg, options::kIdBackgroundList, 1);
        RECT update{};
        ASSERT_TRUE(GetUpdateRect(dlg, &update, FALSE));
        EXPECT_EQ(update.left, options::kPreviewArea.left);
        EXPECT_EQ(update.top, options::kPreviewArea.top);
        EXPECT_EQ(update.right, options::kPreviewArea.right);
        EXPECT_EQ(update.bottom, options::kPreviewArea.bottom);
    });
}

TEST_F(PreviewTest, VanishedFileFallsBackToTheBuiltInImage) {
    TempDir dir;
    HWND main = OpenWithFace(dir);
    WithOptionsDialog(main, [&](HWND dlg) {
        SelectEntry(dlg, options::kIdBackgroundList, 1);
        ASSERT_TRUE(DeleteFileA(dir.file("face.bmp").c_str()));
        Canvas c;
        Paint(dlg, c);
        // The built-in background is 120 x 38 at (265, 146); none of the vanished file shows.
        EXPECT_NE(c.at(268, 165), kSilver);
        for (int x = 226; x < 424; x += 6)
            for (int y = 70; y < 260; y += 6) ASSERT_NE(c.at(x, y), kTeal) << x << "," << y;
        EXPECT_EQ(c.at(260, 140), kSilver);
    });
}

TEST_F(PreviewTest, UnreadableFileShowsNoImage) {
    TempDir dir;
    HWND main = OpenWithFace(dir);
    WithOptionsDialog(main, [&](HWND dlg) {
        SelectEntry(dlg, options::kIdBackgroundList, 1);
        ASSERT_TRUE(WriteFileBytes(dir.file("face.bmp"), "now something else"));
        Canvas c;
        Paint(dlg, c);
        for (int x = 226; x < 424; x += 6)
            for (int y = 70; y < 260; y += 6) ASSERT_EQ(c.at(x, y), kSilver) << x << "," << y;
    });
}

}  // namespace
