// What due alarm items do: sounds, the reminder dialog, program starts and the shutdown
// countdown, with the side effects recorded through the seams.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "alarms/AlarmActions.h"
#include "alarms/AlarmStore.h"
#include "alarms/Scheduler.h"
#include "alarms/ShutdownCountdown.h"
#include "common/Handles.h"
#include "common/SystemSeams.h"
#include "common/Wake.h"
#include "common/WindowText.h"
#include "tests/common/script_texts.h"
#include "tests/win/support/TestSupport.h"
#include "tests/win/support/TextFit.h"
#include "toolkit/Dialog.h"

using namespace alarms;

namespace {

// --- the probe program: a copy of this executable started by a run-program item writes its
// working directory and command line to the file named after --probe-out, then ends.
constexpr char kProbeFlag[] = "--probe-out ";

const bool kRunningAsProbe = [] {
    const std::string cmd = GetCommandLineA();
    const size_t at = cmd.find(kProbeFlag);
    if (at == std::string::npos) return false;
    std::string rest = cmd.substr(at + sizeof kProbeFlag - 1);
    std::string out;
    if (!rest.empty() && rest[0] == '"') {
        out = rest.substr(1, rest.find('"', 1) - 1);
    } else {
        out = rest.substr(0, rest.find(' '));
    }
    char dir[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, dir);
    testing_support::WriteFileBytes(out, std::string(dir) + "\n" + cmd);
    ExitProcess(0);
}();

// --- recording the side effects ---
struct Recorder {
    std::vector<std::string> events;
    const void* soundData = nullptr;
    std::string soundFile;
    DWORD soundFlags = 0;
    struct Start { std::string verb, file, params, dir; int show; HWND owner; };
    std::vector<Start> starts;
};

class RecordingSeams {
public:
    RecordingSeams() {
        seams_->playSound = [this](const void* sound, HMODULE, DWORD flags) {
            rec.events.push_back("sound");
            rec.soundData = sound;
            rec.soundFlags = flags;
            if (flags & SND_FILENAME) rec.soundFile = static_cast<const char*>(sound);
            return TRUE;
        };
        seams_->shellExecute = [this](HWND owner, const char* verb, const char* file, const char* params,
                                      const char* dir, int show) {
            rec.events.push_back("start");
            rec.starts.push_back({verb ? verb : "", file ? file : "", params ? params : "", dir ? dir : "", show,
                                  owner});
            return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
        };
        seams_->enableShutdownPrivilege = [this] {
            rec.events.push_back("privilege");
            return TRUE;
        };
        seams_->exitWindows = [this](UINT flags, DWORD) {
            rec.events.push_back("exit " + std::to_string(flags));
            return TRUE;
        };
    }
    Recorder rec;
private:
    sys::ScopedSeams seams_;
};

alarms::AlarmItem Item(int mode, std::string text = "", std::string exe = "", std::string wav = "",
                      std::string params = "") {
    alarms::AlarmItem item;
    item.itemState = 1;
    item.notifyMode = static_cast<std::uint8_t>(mode);
    item.timeMode = alarms::kTimeDaily;
    item.notifyText = std::move(text);
    item.runExe = std::move(exe);
    item.wavFile = std::move(wav);
    item.parameters = std::move(params);
    return item;
}

std::string TextOf(HWND h) {
    char buf[256] = {};
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

// The visible dialogs of this thread with the given title, topmost first.
std::vector<HWND> DialogsTitled(const std::string& title) {
    struct Search { std::string title; std::vector<HWND> found; } s{title, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char cls[32] = {};
            GetClassNameA(h, cls, sizeof cls);
            if (IsWindowVisible(h) && std::string(cls) == "#32770" && TextOf(h) == s->title) s->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Runs steps from a thread timer while the modal dialogs of this thread run. Each step is
// retried on every tick until it returns true. After the deadline every dialog of the thread
// is closed so that a failing test cannot hang.
class ModalDriver {
public:
    using Step = std::function<bool()>;
    explicit ModalDriver(std::vector<Step> steps, DWORD deadlineMs = 15000)
        : steps_(std::move(steps)), end_(GetTickCount64() + deadlineMs) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, Tick);
    }
    ~ModalDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool finished() const { return next_ >= steps_.size(); }
    bool timedOut() const { return timedOut_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalDriver* d = current_;
        if (!d) return;
        // Past the deadline every dialog is closed, nested ones too: a step still running
        // inside a nested dialog's loop must not keep the test from ending.
        if (GetTickCount64() > d->end_) {
            d->timedOut_ = true;
            for (const char* t : {kReminderTitle, kShutdownName, kRestartName})
                for (HWND h : DialogsTitled(t)) PostMessageA(h, WM_CLOSE, 0, 0);
            return;
        }
        if (d->busy_) return;
        d->busy_ = true;  // a step may open a nested dialog whose loop ticks again
        if (!d->finished()) {
            const size_t at = d->next_;
            if (d->steps_[at]()) d->next_ = at + 1;
        }
        d->busy_ = false;
    }
    std::vector<Step> steps_;
    size_t next_ = 0;
    ULONGLONG end_;
    UINT_PTR timer_;
    bool busy_ = false;
    bool timedOut_ = false;
    static inline ModalDriver* current_ = nullptr;
};

// Presses a key on the dialog as the user would (the dialog manager translates it).
void PressKey(HWND dlg, WPARAM key) {
    HWND focus = GetFocus();
    HWND target = (focus && (focus == dlg || IsChild(dlg, focus))) ? focus : dlg;
    PostMessageA(target, WM_KEYDOWN, key, 0);
    PostMessageA(target, WM_KEYUP, key, 0);
}

void Command(HWND dlg, int id) { PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// A step that waits for a few ticks.
ModalDriver::Step Wait(int ticks) {
    auto left = std::make_shared<int>(ticks);
    return [left] { return --*left <= 0; };
}

}  // namespace

// --- sounds ---

TEST(AlarmSound, EmptyPathPlaysTheBuiltInImageAPathPlaysTheFile) {
    const SoundImage builtIn = BuiltInSound();
    ASSERT_NE(nullptr, builtIn.data);
    ASSERT_GT(builtIn.size, 44u);
    EXPECT_EQ(0, memcmp(builtIn.data, "RIFF", 4));
    EXPECT_EQ(0, memcmp(static_cast<const char*>(builtIn.data) + 8, "WAVE", 4));

    struct Case { const char* what; std::string wav; DWORD flags; bool image; } cases[] = {
        {"empty path: built-in image", "", SND_MEMORY | SND_ASYNC, true},
        {"a path", "C:\\Sounds\\bell.wav", SND_FILENAME | SND_ASYNC, false},
        {"any extension", "C:\\Sounds\\bell.mp3", SND_FILENAME | SND_ASYNC, false},
        {"a folder", "C:\\Sounds\\", SND_FILENAME | SND_ASYNC, false},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (const scripts_test::ScriptText& row : scripts_test::kScriptTexts)
        all.push_back({row.script, std::string("C:\\Users\\") + row.name + "\\Music\\" + row.name + ".wav",
                       SND_FILENAME | SND_ASYNC, false});
    for (const Case& c : all) {
        SCOPED_TRACE(c.what);
        RecordingSeams seams;
        FireAlarmItem(Item(alarms::kNotifySound, "", "", c.wav), nullptr);
        ASSERT_EQ(std::vector<std::string>{"sound"}, seams.rec.events);
        EXPECT_EQ(c.flags, seams.rec.soundFlags);
        if (c.image) {
            EXPECT_EQ(builtIn.data, seams.rec.soundData);
        } else {
            EXPECT_EQ(c.wav, seams.rec.soundFile);
        }
    }
}

TEST(AlarmSound, UnplayableFilesNeitherCrashNorBlock) {
    testing_support::TempDir dir;
    testing_support::WriteFileBytes(dir.file("empty.wav"), "");
    testing_support::WriteFileBytes(dir.file("junk.wav"), std::string(100, 'x'));
    struct Case { const char* what; std::string wav; } cases[] = {
        {"missing file", dir.file("missing.wav")},
        {"a directory", dir.path()},
        {"0-byte file", dir.file("empty.wav")},
        {"not a wave file", dir.file("junk.wav")},
        {"very long path", std::string(600, 'a') + ".wav"},
    };
    for (const Case& c : cases) {
        // Played asynchronously (the flags are checked above): the call returns whatever the file.
        SCOPED_TRACE(c.what);
        FireAlarmItem(Item(alarms::kNotifySound, "", "", c.wav), nullptr);
    }
    sys::PlaySoundData(nullptr, nullptr, 0);  // stop whatever still plays
}

// --- programs ---

TEST(AlarmProgram, StartsTheFileInItsOwnDirectoryWithTheParameters) {
    const std::string longDir = "C:\\" + std::string(580, 'd') + "\\";
    const std::string longParams(2000, 'p');
    struct Case {
        const char* what; std::string exe, params;
        bool started; std::string file, dir;
    } cases[] = {
        {"ordinary", "C:\\Tools\\run.exe", "-x", true, "run.exe", "C:\\Tools\\"},
        {"no backslash", "run.exe", "", true, "run.exe", ""},
        {"spaces", "C:\\Program Files\\My Tool\\run me.exe", "a b", true, "run me.exe", "C:\\Program Files\\My Tool\\"},
        {"enclosing quotes", "\"C:\\Program Files\\run.exe\"", "", true, "run.exe", "C:\\Program Files\\"},
        {"long path", longDir + "run.exe", "", true, "run.exe", longDir},
        {"long parameters", "C:\\Tools\\run.exe", longParams, true, "run.exe", "C:\\Tools\\"},
        {"format and ampersand", "C:\\Tools\\%s&.exe", "%s %d &", true, "%s&.exe", "C:\\Tools\\"},
        {"empty path", "", "-x", false, "", ""},
        {"trailing backslash: a folder, nothing to start", "C:\\Tools\\", "", false, "", ""},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (const scripts_test::ScriptText& row : scripts_test::kScriptTexts) {
        const std::string dir = std::string("D:\\") + row.name + "\\";
        all.push_back({row.script, dir + row.name + ".exe", row.text, true, std::string(row.name) + ".exe", dir});
    }
    for (const Case& c : all) {
        SCOPED_TRACE(c.what);
        RecordingSeams seams;
        FireAlarmItem(Item(alarms::kNotifyProgram, "", c.exe, "", c.params), nullptr);
        if (!c.started) {
            EXPECT_TRUE(seams.rec.events.empty());
            continue;
        }
        ASSERT_EQ(1u, seams.rec.starts.size());
        const Recorder::Start& s = seams.rec.starts[0];
        EXPECT_EQ(nullptr, s.owner);
        EXPECT_EQ("Open", s.verb);
        EXPECT_EQ(c.file, s.file);
        EXPECT_EQ(c.params, s.params);
        EXPECT_EQ(c.dir, s.dir);
        EXPECT_EQ(SW_SHOW, s.show);
    }
}

TEST(AlarmProgram, ARealProgramStartsInTheItemsDirectory) {
    std::vector<std::string> folders{"My Tools"};
    for (const scripts_test::ScriptText& row : scripts_test::kScriptTexts) folders.push_back(row.name);
    for (const std::string& folder : folders) {
    SCOPED_TRACE(folder);
    testing_support::TempDir root;
    const std::string toolDir = root.file(folder);
    ASSERT_TRUE(CreateDirectoryA(toolDir.c_str(), nullptr));
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string exe = toolDir + "\\run me.exe";
    ASSERT_TRUE(CopyFileA(self, exe.c_str(), FALSE));
    const std::string out = toolDir + "\\probe " + folder + ".txt";

    FireAlarmItem(Item(alarms::kNotifyProgram, "", exe, "", std::string(kProbeFlag) + "\"" + out + "\" -x"), nullptr);

    std::string seen;
    ASSERT_TRUE(testing_support::PumpUntil([&] {
        seen = testing_support::ReadFileBytes(out);
        return !seen.empty();
    }, 15000)) << "the program did not start";
    const std::string cwd = seen.substr(0, seen.find('\n'));
    const std::string cmd = seen.substr(seen.find('\n') + 1);
    EXPECT_STRCASEEQ(toolDir.c_str(), cwd.c_str());
    EXPECT_NE(std::string::npos, cmd.find("run me.exe")) << cmd;
    EXPECT_EQ(" -x", cmd.substr(cmd.size() - 3)) << cmd;
    // Let the probe end before its folder goes.
    testing_support::PumpUntil([&] { return DeleteFileA(exe.c_str()) != 0; }, 5000);
    DeleteFileA(out.c_str());
    RemoveDirectoryA(toolDir.c_str());
    }
}

TEST(AlarmActions, TheSchedulerHandsDueItemsToTheActions) {
    testing_support::ClearUserRegistry();
    alarms::AlarmItem sound = Item(alarms::kNotifySound, "", "", "C:\\Sounds\\due.wav");
    sound.hour = 7;
    sound.minute = 30;
    alarms::AppendAlarmItem(sound);
    RecordingSeams seams;
    sys::ScopedSeams clock;
    clock->getLocalTime = [](SYSTEMTIME& t) {
        t = SYSTEMTIME{};
        t.wYear = 2026; t.wMonth = 12; t.wDay = 8; t.wDayOfWeek = 2; t.wHour = 7; t.wMinute = 30;
    };
    InstallAlarmActions([] { return HWND{}; });
    alarms::LoadAlarmItems();
    alarms::CheckAlarms();
    EXPECT_EQ(std::vector<std::string>{"sound"}, seams.rec.events);
    EXPECT_EQ("C:\\Sounds\\due.wav", seams.rec.soundFile);
    alarms::SetAlarmItemHandler({});
    testing_support::ClearUserRegistry();
    alarms::LoadAlarmItems();
}

TEST(AlarmActions, UnknownActionDoesNothing) {
    RecordingSeams seams;
    for (int mode : {5, 9, 255}) FireAlarmItem(Item(mode, "text", "C:\\run.exe", "C:\\a.wav"), nullptr);
    EXPECT_TRUE(seams.rec.events.empty());
    EXPECT_TRUE(DialogsTitled(kReminderTitle).empty());
}

// --- the reminder dialog ---

TEST(ReminderDialog, LayoutEscapeOkAndCloseBox) {
    RecordingSeams seams;
    HWND dlg = nullptr;
    RECT window{}, desk{};
    GetWindowRect(GetDesktopWindow(), &desk);
    HWND ok = nullptr;
    RECT okRect{};
    std::string okText, controls, shownText;
    {
        ModalDriver driver({
            [&] {
                auto found = DialogsTitled(kReminderTitle);
                if (found.empty()) return false;
                dlg = found[0];
                GetWindowRect(dlg, &window);
                ok = GetDlgItem(dlg, 1);
                GetWindowRect(ok, &okRect);
                MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&okRect), 2);
                okText = TextOf(ok);
                if (const std::string* text = ReminderTextOf(dlg)) shownText = *text;
                controls = testing_support::ClippedTextReport(dlg);
                PressKey(dlg, VK_ESCAPE);
                return true;
            },
            Wait(5),
            [&] {
                EXPECT_TRUE(IsWindowVisible(dlg)) << "Esc leaves the reminder open";
                Command(dlg, IDCANCEL);
                return true;
            },
            Wait(5),
            [&] {
                EXPECT_TRUE(IsWindowVisible(dlg)) << "so does IDCANCEL";
                Command(dlg, 1);
                return true;
            },
        });
        FireAlarmItem(Item(alarms::kNotifyText, "Meeting at 10 & bring %s"), nullptr);
        EXPECT_TRUE(driver.finished());
        EXPECT_FALSE(driver.timedOut()) << "OK closes the dialog";
    }
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ("Meeting at 10 & bring %s", shownText);
    EXPECT_EQ(268, window.right - window.left);
    EXPECT_EQ(128, window.bottom - window.top);
    EXPECT_NEAR((desk.right - 268) / 2.0, window.left, 0.5);
    EXPECT_NEAR((desk.bottom - 128) / 2.0, window.top, 0.5);
    EXPECT_EQ("OK(&O)", okText);
    EXPECT_EQ("", controls);
    EXPECT_EQ(99, okRect.left);
    EXPECT_EQ(77, okRect.top);
    EXPECT_EQ(70, okRect.right - okRect.left);
    EXPECT_EQ(19, okRect.bottom - okRect.top);
    EXPECT_TRUE(seams.rec.events.empty());

    // The close box.
    {
        ModalDriver driver({[&] {
            auto found = DialogsTitled(kReminderTitle);
            if (found.empty()) return false;
            PostMessageA(found[0], WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        }});
        FireAlarmItem(Item(alarms::kNotifyText, ""), nullptr);
        EXPECT_TRUE(driver.finished());
        EXPECT_FALSE(driver.timedOut());
    }
    // Enter presses OK.
    {
        ModalDriver driver({[&] {
            auto found = DialogsTitled(kReminderTitle);
            if (found.empty()) return false;
            PressKey(found[0], VK_RETURN);
            return true;
        }});
        FireAlarmItem(Item(alarms::kNotifyText, "x"), nullptr);
        EXPECT_FALSE(driver.timedOut());
    }
}

namespace {

// Closes the two reminder dialogs of a nested firing once both are open, noting what it saw.
struct ReminderPairCloser {
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        auto open = DialogsTitled(kReminderTitle);
        if (open.size() != 2) return;
        KillTimer(nullptr, id);
        *seenTogether = open.size();
        const std::string* first = ReminderTextOf(open[0]);
        const std::string* second = ReminderTextOf(open[1]);
        *seenText = first && second && *first == *second ? *first : "the dialogs differ";
        for (HWND h : open) {
            InvalidateRect(h, nullptr, TRUE);
            UpdateWindow(h);  // each paints the latest text
        }
        for (HWND h : open) PostMessageA(h, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    }
    static inline size_t* seenTogether = nullptr;
    static inline std::string* seenText = nullptr;
};

// Once a restart countdown and a nested shutdown countdown are both open: cancels the inner
// one and confirms the outer one.
struct NestedCountdownDriver {
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        auto restart = DialogsTitled(kRestartName);
        auto shutdown = DialogsTitled(kShutdownName);
        if (restart.size() != 1 || shutdown.size() != 1) return;
        KillTimer(nullptr, id);
        *outerSeconds = CountdownViewOf(restart[0])->seconds;
        PostMessageA(shutdown[0], WM_COMMAND, MAKEWPARAM(kCountdownCancelId, BN_CLICKED), 0);
        PostMessageA(restart[0], WM_COMMAND, MAKEWPARAM(kCountdownRunId, BN_CLICKED), 0);
    }
    static inline int* outerSeconds = nullptr;
};

}  // namespace

TEST(ReminderDialog, TwoRemindersInOneMinuteOpenTwoDialogsShowingTheLatestText) {
    size_t openTogether = 0;
    std::string textWhileBoth;
    ModalDriver driver({
        [&] {
            if (DialogsTitled(kReminderTitle).size() != 1) return false;
            // The second item of the minute, fired from a nested tick.
            FireAlarmItem(Item(alarms::kNotifyText, "second"), nullptr);
            return true;
        },
        [&] { return DialogsTitled(kReminderTitle).empty(); },
    });
    ReminderPairCloser::seenTogether = &openTogether;
    ReminderPairCloser::seenText = &textWhileBoth;
    const UINT_PTR closer = SetTimer(nullptr, 0, 40, ReminderPairCloser::Tick);
    FireAlarmItem(Item(alarms::kNotifyText, "first"), nullptr);
    KillTimer(nullptr, closer);
    EXPECT_FALSE(driver.timedOut());
    EXPECT_EQ(2u, openTogether);
    EXPECT_EQ("second", textWhileBoth);
    EXPECT_TRUE(DialogsTitled(kReminderTitle).empty());
}

namespace {

// A surface for painting a dialog's client area, 268 pixels wide.
class Surface : public testing_support::PaintSurface {
public:
    explicit Surface(int height = 128) : PaintSurface(268, height) {}
    // The first marked pixel of the area, scanning columns from the left (x) or rows from the top (y).
    int FirstMarkedColumn(int x0, int x1, int y0, int y1) const {
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y)
                if (Marked(x, y)) return x;
        return -1;
    }
    int FirstMarkedRow(int x0, int x1, int y0, int y1) const {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Marked(x, y)) return y;
        return -1;
    }
};

std::wstring WideTextOf(HWND h) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
    return text;
}

RECT RectIn(HWND dlg, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// What one reminder dialog showed.
struct ShownReminder {
    std::wstring text;        // its text control's text, read through the W function
    RECT window{}, textRect{}, ok{}, snooze{}, choice{}, work{};
    int lines = 0, lineHeight = 0, growth = 0;
    bool scrolls = false;
};

ShownReminder FireAndReadReminder(const std::string& text) {
    ShownReminder shown;
    ModalDriver driver({[&] {
        auto found = DialogsTitled(kReminderTitle);
        if (found.empty()) return false;
        HWND dlg = found[0];
        HWND edit = GetDlgItem(dlg, kReminderTextId);
        shown.text = WideTextOf(edit);
        GetWindowRect(dlg, &shown.window);
        shown.textRect = RectIn(dlg, edit);
        shown.ok = RectIn(dlg, GetDlgItem(dlg, IDOK));
        shown.snooze = RectIn(dlg, GetDlgItem(dlg, kReminderSnoozeId));
        shown.choice = RectIn(dlg, GetDlgItem(dlg, kReminderSnoozeChoiceId));
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &shown.work, 0);
        shown.lines = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
        shown.scrolls = (GetWindowLongA(edit, GWL_STYLE) & WS_VSCROLL) != 0;
        TEXTMETRICW metrics{};
        win::WindowDC dc(edit);
        win::ScopedSelect select(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc.get(), &metrics);
        shown.lineHeight = metrics.tmHeight;
        shown.growth = shown.ok.top - 77;
        Command(dlg, 1);
        return true;
    }});
    FireAlarmItem(Item(alarms::kNotifyText, text), nullptr);
    EXPECT_FALSE(driver.timedOut());
    return shown;
}

std::string Words(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? " " : "") + std::string("word") + std::to_string(i);
    return text;
}

}  // namespace

TEST(ReminderDialog, ShowsATextInAnyScriptWholeInItsTextControl) {
    ASSERT_EQ(65001u, GetACP()) << "the manifest's UTF-8 code page";
    for (const scripts_test::ScriptText& row : scripts_test::kScriptTexts) {
        SCOPED_TRACE(row.script);
        const ShownReminder shown = FireAndReadReminder(row.text);
        EXPECT_EQ(win::Wide(row.text), shown.text);
        EXPECT_EQ(kReminderTextX, shown.textRect.left);
        EXPECT_EQ(kReminderTextY, shown.textRect.top);
        EXPECT_EQ(128, shown.window.bottom - shown.window.top) << "a short text needs no more room";
        EXPECT_EQ(0, shown.growth);
    }
}

TEST(ReminderDialog, ALongTextWrapsAtWordsAndTheDialogGrowsThenScrolls) {
    struct Case { const char* what; std::string text; bool scrolls; } cases[] = {
        {"sixty words", Words(60), false},
        {"ten thousand characters", Words(1200), true},
        {"one unbroken CJK run", std::string(200 * 3, '\0'), false},
    };
    for (size_t i = 0; i < cases[2].text.size(); i += 3) cases[2].text.replace(i, 3, "会");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ShownReminder shown = FireAndReadReminder(c.text);
        EXPECT_EQ(win::Wide(c.text), shown.text) << "the whole text";
        EXPECT_GT(shown.lines, 3) << "wrapped";
        EXPECT_EQ(kReminderTextWidth, shown.textRect.right - shown.textRect.left) << "within the dialog's width";
        EXPECT_EQ(268, shown.window.right - shown.window.left);
        EXPECT_EQ(c.scrolls, shown.scrolls);
        const int textBottom = shown.textRect.bottom;
        if (!c.scrolls) {
            EXPECT_GE(textBottom - shown.textRect.top, shown.lines * shown.lineHeight) << "every line shows";
        }
        EXPECT_EQ(shown.growth, (shown.window.bottom - shown.window.top) - 128) << "the dialog grew by what moved down";
        EXPECT_GT(shown.growth, 0);
        EXPECT_LE(shown.window.bottom - shown.window.top, shown.work.bottom - shown.work.top);
        EXPECT_GE(shown.window.top, shown.work.top);
        EXPECT_LE(textBottom, kReminderSeparatorY + shown.growth) << "the separator below the text";
        EXPECT_EQ(kReminderOkX, shown.ok.left);
        EXPECT_EQ(shown.ok.top, shown.snooze.top);
        EXPECT_EQ(shown.ok.top - 1, shown.choice.top);
        if (c.scrolls) {
            EXPECT_EQ(shown.work.bottom - shown.work.top, shown.window.bottom - shown.window.top);
        }
    }
}

TEST(ReminderDialog, PaintsTheIconSeparatorAndOkFrameMovedByTheGrowth) {
    win::AutoIcon icon(LoadProgramIcon());
    ASSERT_TRUE(icon);
    for (int growth : {0, 50}) {
        SCOPED_TRACE(growth);
        Surface s(128 + growth);
        PaintReminder(s.dc(), icon.get(), growth);
        EXPECT_TRUE(s.Marked(100, kReminderSeparatorY + growth)) << "the separator";
        // An etched line of no height draws its two edges just above its place; nothing is above them.
        EXPECT_NEAR(kReminderSeparatorY - 2 + growth, s.FirstMarkedRow(60, 90, 20, 128 + growth), 1);
        EXPECT_EQ(kReminderOkFrameTop + growth, s.FirstMarkedRow(kReminderOkFrameLeft, kReminderOkFrameRight,
                                                                   kReminderSeparatorY + growth + 2, 128 + growth));
        // The icon stays at (10, 10); its outermost pixels may be transparent.
        const int iconTop = s.FirstMarkedRow(0, 50, 0, 60);
        const int iconLeft = s.FirstMarkedColumn(0, 50, 0, 60);
        EXPECT_GE(iconTop, 10);
        EXPECT_LE(iconTop, 14);
        EXPECT_GE(iconLeft, 10);
        EXPECT_LE(iconLeft, 14);
    }
}

TEST(ReminderDialog, GrowthStartsPastThreeLinesAndStopsAtTheWorkArea) {
    EXPECT_EQ(0, ReminderGrowth(13, 700));
    EXPECT_EQ(0, ReminderGrowth(kReminderTextRoom, 700));
    EXPECT_EQ(26, ReminderGrowth(kReminderTextRoom + 26, 700));
    EXPECT_EQ(700 - kReminderHeight, ReminderGrowth(5000, 700));
    EXPECT_EQ(0, ReminderGrowth(5000, 100)) << "a work area smaller than the dialog";
}

// --- the shutdown countdown ---

namespace {

// The width of a text in the template dialogs' font.
int DialogTextWidth(const std::string& text) {
    win::AutoFont font = toolkit::CreateDialogFont();
    win::WindowDC dc(nullptr);
    win::ScopedSelect select(dc.get(), font.get());
    return win::TextWidth(dc.get(), text);  // as the dialog measures and draws it
}

}  // namespace

TEST(ShutdownCountdown, ShowsItsLinesAndCancelOrEscRequestNothing) {
    for (const char* how : {"cancel button", "esc", "close box"}) {
        SCOPED_TRACE(how);
        RecordingSeams seams;
        CountdownView seen;
        std::string title;
        ModalDriver driver({[&] {
            auto found = DialogsTitled(kShutdownName);
            if (found.empty()) return false;
            HWND dlg = found[0];
            title = TextOf(dlg);
            seen = *CountdownViewOf(dlg);
            if (std::string(how) == "esc") {
                PressKey(dlg, VK_ESCAPE);
            } else if (std::string(how) == "close box") {
                PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
            } else {
                Command(dlg, kCountdownCancelId);
            }
            return true;
        }});
        FireAlarmItem(Item(alarms::kNotifyShutdown), nullptr);
        EXPECT_FALSE(driver.timedOut());
        EXPECT_EQ("Shut down", title);
        EXPECT_EQ("You have setup:Shut down", CountdownLine(seen, 0).text);
        EXPECT_EQ("Shut downbegin the countdown", CountdownLine(seen, 1).text);
        EXPECT_EQ("The program will execute preset operation in 30 seconds.", CountdownLine(seen, 2).text);
        EXPECT_EQ("29", CountdownFigure(seen).text);
        EXPECT_GE(CountdownFigure(seen).x, 55 + DialogTextWidth(CountdownLine(seen, 1).text))
            << "the figure follows the second line";
        EXPECT_EQ(StandardCancelHint("Shut down"), CancelHint(seen).text);
        EXPECT_EQ(31, CancelHint(seen).x);
        EXPECT_TRUE(seams.rec.events.empty());
    }
}

TEST(ShutdownCountdown, ShowsEveryLineWholeWithTheFigureAfterTheSecondLine) {
    struct Case { const char* what; int mode; std::string text; } cases[] = {
        {"shutdown, standard hint", alarms::kNotifyShutdown, ""},
        {"restart, standard hint", alarms::kNotifyRestart, ""},
        {"restart, the item's own long hint", alarms::kNotifyRestart,
         "Save every open document and close the mail program before the computer starts again."},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (const scripts_test::ScriptText& row : scripts_test::kScriptTexts)
        all.push_back({row.script, alarms::kNotifyShutdown, std::string(row.text) + " / " + row.text + " / " + row.text});
    for (const Case& c : all) {
        SCOPED_TRACE(c.what);
        RecordingSeams seams;
        const char* title = c.mode == alarms::kNotifyRestart ? kRestartName : kShutdownName;
        CountdownView seen;
        RECT client{};
        std::string controls;
        ModalDriver driver({[&] {
            auto found = DialogsTitled(title);
            if (found.empty()) return false;
            seen = *CountdownViewOf(found[0]);
            GetClientRect(found[0], &client);
            controls = testing_support::ClippedTextReport(found[0]);
            Command(found[0], kCountdownCancelId);
            return true;
        }});
        FireAlarmItem(Item(c.mode, c.text), nullptr);
        EXPECT_FALSE(driver.timedOut());
        EXPECT_EQ("", controls);
        if (!c.text.empty()) {
            EXPECT_EQ(c.text, CancelHint(seen).text) << "the item's hint, whole";
        }
        std::vector<PlacedText> texts{CountdownLine(seen, 0), CountdownLine(seen, 1), CountdownLine(seen, 2),
                                      CancelHint(seen)};
        for (const PlacedText& t : texts) EXPECT_LE(t.x + DialogTextWidth(t.text), client.right) << t.text;
        const PlacedText second = CountdownLine(seen, 1);
        EXPECT_GE(CountdownFigure(seen).x, second.x + DialogTextWidth(second.text)) << "the figure follows " << second.text;
        EXPECT_LE(CountdownFigure(seen).x + DialogTextWidth("30"), client.right);
    }
}

TEST(ShutdownCountdown, ConfirmingRequestsAtOnceAfterThePrivilege) {
    struct Case { const char* what; int mode; bool enter; const char* exit; } cases[] = {
        {"shutdown, To run button", alarms::kNotifyShutdown, false, "exit 1"},
        {"shutdown, Enter", alarms::kNotifyShutdown, true, "exit 1"},
        {"restart, To run button", alarms::kNotifyRestart, false, "exit 2"},
        {"restart, Enter", alarms::kNotifyRestart, true, "exit 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSeams seams;
        const char* title = c.mode == alarms::kNotifyRestart ? kRestartName : kShutdownName;
        ModalDriver driver({[&] {
            auto found = DialogsTitled(title);
            if (found.empty()) return false;
            // Without its timer the countdown never runs out: only confirming can end it.
            KillTimer(found[0], kCountdownTimer);
            if (c.enter) {
                PressKey(found[0], VK_RETURN);
            } else {
                Command(found[0], kCountdownRunId);
            }
            return true;
        }});
        FireAlarmItem(Item(c.mode), nullptr);
        EXPECT_FALSE(driver.timedOut()) << "confirming ends the countdown at once";
        EXPECT_EQ((std::vector<std::string>{"privilege", c.exit}), seams.rec.events);
    }
}

TEST(ShutdownCountdown, RunsOutAfterThirtyTicksAndRepaintsDoNotCount) {
    RecordingSeams seams;
    std::vector<int> figures;
    HWND dlg = nullptr;
    ModalDriver driver({
        [&] {
            auto found = DialogsTitled(kRestartName);
            if (found.empty()) return false;
            dlg = found[0];
            KillTimer(dlg, kCountdownTimer);  // the test gives the ticks
            figures.push_back(CountdownViewOf(dlg)->seconds);
            for (int i = 0; i < 29; ++i) {
                SendMessageA(dlg, WM_TIMER, kCountdownTimer, 0);
                figures.push_back(CountdownViewOf(dlg)->seconds);
            }
            for (int i = 0; i < 10; ++i) {
                InvalidateRect(dlg, nullptr, TRUE);
                UpdateWindow(dlg);
            }
            EXPECT_EQ(0, CountdownViewOf(dlg)->seconds) << "repaints do not count";
            EXPECT_TRUE(seams.rec.events.empty()) << "nothing before the thirtieth tick";
            SendMessageA(dlg, WM_TIMER, kCountdownTimer, 0);
            return true;
        },
    });
    FireAlarmItem(Item(alarms::kNotifyRestart, "Saving work first"), nullptr);
    EXPECT_FALSE(driver.timedOut());
    ASSERT_EQ(30u, figures.size());
    for (int i = 0; i < 30; ++i) EXPECT_EQ(29 - i, figures[i]) << "tick " << i;
    EXPECT_EQ((std::vector<std::string>{"privilege", "exit 2"}), seams.rec.events);
}

TEST(ShutdownCountdown, EachCountdownShowsItsOwnItemsHint) {
    struct Case { const char* what; int mode; std::string text; std::string hint; int hintX; } cases[] = {
        {"restart with text", alarms::kNotifyRestart, "Save your files!", "Save your files!", 12},
        {"shutdown without text: standard", alarms::kNotifyShutdown, "", StandardCancelHint("Shut down"), 31},
        {"restart without text: standard", alarms::kNotifyRestart, "", StandardCancelHint("Re-start computer"), 12},
        {"shutdown with text", alarms::kNotifyShutdown, "Bye & %s", "Bye & %s", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSeams seams;
        PlacedText hint;
        const char* title = c.mode == alarms::kNotifyRestart ? kRestartName : kShutdownName;
        ModalDriver driver({[&] {
            auto found = DialogsTitled(title);
            if (found.empty()) return false;
            hint = CancelHint(*CountdownViewOf(found[0]));
            Command(found[0], kCountdownCancelId);
            return true;
        }});
        FireAlarmItem(Item(c.mode, c.text), nullptr);
        EXPECT_FALSE(driver.timedOut());
        EXPECT_EQ(c.hint, hint.text);
        EXPECT_EQ(c.hintX, hint.x);
        EXPECT_EQ(56, hint.y);
    }
}

TEST(ShutdownCountdown, NestedCountdownsKeepTheirOwnState) {
    RecordingSeams seams;
    std::vector<std::string> titles;
    bool nestedFired = false;
    int outerSeconds = -1;
    NestedCountdownDriver::outerSeconds = &outerSeconds;
    ModalDriver driver({[&] {
        const auto outer = DialogsTitled(kRestartName);
        if (outer.empty()) return false;
        KillTimer(outer[0], kCountdownTimer);  // only a reset, never a slow second, moves the figure
        nestedFired = true;
        SetTimer(nullptr, 0, 40, NestedCountdownDriver::Tick);
        FireAlarmItem(Item(alarms::kNotifyShutdown), nullptr);  // a nested tick's item
        return true;
    }});
    FireAlarmItem(Item(alarms::kNotifyRestart), nullptr);
    EXPECT_TRUE(nestedFired);
    EXPECT_FALSE(driver.timedOut());
    EXPECT_EQ(29, outerSeconds) << "the inner dialog does not reset the outer countdown";
    EXPECT_EQ((std::vector<std::string>{"privilege", "exit 2"}), seams.rec.events)
        << "only the confirmed outer restart is requested";
}

TEST(ShutdownCountdown, StandardHintUsesTheCodePagesBracketsOrSquareOnes) {
    const std::string hint = StandardCancelHint("Shut down");
    const UINT acp = GetACP();
    if (acp == CP_UTF8) {
        EXPECT_EQ("If relieve〖Shut down〗,please press ESC button according to the cancel.", hint);
        return;
    }
    const bool wide = acp == 936 || acp == 950 || acp == 932 || acp == 949;
    if (wide) {
        EXPECT_NE(std::string::npos, hint.find("Shut down")) << hint;
        EXPECT_EQ(std::string::npos, hint.find("[Shut down]")) << hint;
    } else {
        EXPECT_EQ("If relieve[Shut down],please press ESC button according to the cancel.", hint);
    }
}

// The computer and display are asked to stay on from the start of each action until it is
// dismissed (a minute for a sound or a program), for at most 10 minutes, and released once; a
// reminder after a wake comes to the front.
TEST(AlarmAwake, AskedWhileTheAlarmIsUpAndReleasedWhenDismissed) {
    struct Case { const char* what; int mode; const char* dialog; ULONGLONG upMs; int dismiss; size_t whileUp; };
    const Case cases[] = {
        {"reminder, OK", kNotifyText, kReminderTitle, 0, IDOK, 1},
        {"reminder, Snooze", kNotifyText, kReminderTitle, 0, kReminderSnoozeId, 1},
        {"reminder up past ten minutes", kNotifyText, kReminderTitle, wake::kAwakeLimitMs, IDOK, 2},
        {"countdown, cancel", kNotifyShutdown, kShutdownName, 0, kCountdownCancelId, 1},
        {"sound, a minute", kNotifySound, "", wake::kTimedHoldMs - 1, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSeams seams;
        sys::ScopedSeams clock;
        ULONGLONG ms = 1'000'000'000;
        std::vector<EXECUTION_STATE> asked;
        clock->tickCount = [&] { return ms; };
        wake::ReleaseOverdueHold();  // an earlier test's timed hold
        clock->executionState = [&](EXECUTION_STATE state) { asked.push_back(state); return EXECUTION_STATE{}; };
        wake::NoteResume();
        size_t whileUp = 0;
        const auto tick = [&](ULONGLONG later) {  // the clock's tick, `later` ms on
            ms += later;
            wake::ReleaseOverdueHold();
            return asked.size();
        };
        ModalDriver driver({[&] {
            auto found = DialogsTitled(c.dialog);
            if (found.empty()) return false;
            whileUp = tick(c.upMs);
            EXPECT_TRUE(c.mode != kNotifyText || GetForegroundWindow() == found[0]) << "a reminder comes to the front";
            Command(found[0], c.dismiss);
            return true;
        }});
        FireAlarmItem(Item(c.mode, "", "C:\\Tools\\run.exe"), nullptr);
        if (!*c.dialog) {
            whileUp = tick(c.upMs);
            tick(1);
        }
        EXPECT_EQ(whileUp, c.whileUp);
        EXPECT_EQ(asked, (std::vector<EXECUTION_STATE>{ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED,
                                                       ES_CONTINUOUS}));
    }
}
