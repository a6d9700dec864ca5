#include "common/Wake.h"

#include "common/SystemSeams.h"

namespace wake {

namespace {

// FILETIME counts 100-nanosecond intervals from 1601; the clock counts seconds from 1970.
constexpr std::int64_t kFileTimePerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
constexpr EXECUTION_STATE kStayAwake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;

// The wake of the one clock of this process (the single-instance rule makes it the only one).
struct WakeState {
    bool enabled = false;
    std::optional<std::int64_t> due;   // the last due instant given
    std::int64_t now = 0;               // when it was given
    std::optional<std::int64_t> armed;  // what the timer and the task are set to
    ArmResult result;
    std::optional<ULONGLONG> resumedAt;
    // Staying awake: holds by live owners, the end of the timed hold, the start of the first.
    int holds = 0;
    ULONGLONG timedUntil = 0;
    std::optional<ULONGLONG> awakeSince;
};

WakeState& The() {
    static WakeState state;
    return state;
}

void Arm(std::optional<std::int64_t> instant) {
    WakeState& s = The();
    if (instant == s.armed) return;
    s.armed = instant;
    s.result = {};
    const DWORD timer = sys::Hooks().wakeTimer(instant);
    const HRESULT task = sys::Hooks().wakeTask(instant);
    if (!instant) return;  // cancelled: nothing to tell
    if (timer == ERROR_NOT_SUPPORTED) s.result.resumeUnsupported = true;
    else if (timer != ERROR_SUCCESS) s.result.timerError = timer;
    if (FAILED(task)) s.result.taskError = static_cast<std::uint32_t>(task);
}

void AskAwake() {
    WakeState& s = The();
    if (!s.awakeSince) {
        s.awakeSince = sys::TickCount();
        sys::Hooks().executionState(kStayAwake);
    }
}

}  // namespace

void Rearm(std::optional<std::int64_t> due, std::int64_t now) {
    WakeState& s = The();
    s.due = due;
    s.now = now;
    if (s.enabled) Arm(ArmInstant(due, now));
}

void SetEnabled(bool on) {
    WakeState& s = The();
    s.enabled = on;
    Arm(on ? ArmInstant(s.due, s.now) : std::nullopt);
}

bool Enabled() { return The().enabled; }
std::optional<std::int64_t> ArmedInstant() { return The().armed; }
const ArmResult& LastArmResult() { return The().result; }
void Disarm() { Arm(std::nullopt); }

std::string OptionLine(bool optionOn) {
    if (!optionOn) return {};
    return WarningLine(sys::Hooks().planWake(), The().result);
}

void NoteResume() { The().resumedAt = sys::TickCount(); }

bool WokeRecently() {
    const auto at = The().resumedAt;
    return at && sys::TickCount() - *at < kRecentWakeMs;
}

AwakeHold::AwakeHold() {
    ++The().holds;
    AskAwake();
}

AwakeHold::~AwakeHold() {
    --The().holds;
    ReleaseOverdueHold();
}

void HoldAwakeBriefly() {
    The().timedUntil = sys::TickCount() + kTimedHoldMs;
    AskAwake();
}

void ReleaseOverdueHold() {
    WakeState& s = The();
    if (!s.awakeSince) return;
    const ULONGLONG now = sys::TickCount();
    const bool held = s.holds > 0 || now < s.timedUntil;
    if (held && now - *s.awakeSince < kAwakeLimitMs) return;
    s.awakeSince.reset();
    s.timedUntil = 0;
    sys::Hooks().executionState(ES_CONTINUOUS);
}

bool HoldingAwake() { return The().awakeSince.has_value(); }

std::optional<std::int64_t> UtcOfLocalMinute(std::int64_t localMinute) {
    // FILETIME and SYSTEMTIME end in the year 30827; the clock's minutes stay far below.
    constexpr std::int64_t kLastMinute = 14'000'000'000;
    if (localMinute < 0 || localMinute > kLastMinute) return std::nullopt;
    const std::int64_t ticks = (localMinute * 60 + kSecondsFrom1601To1970) * kFileTimePerSecond;
    FILETIME fileTime{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME local{}, utc{};
    if (!FileTimeToSystemTime(&fileTime, &local) || !TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc))
        return std::nullopt;
    if (!SystemTimeToFileTime(&utc, &fileTime)) return std::nullopt;
    const std::int64_t utcTicks = (static_cast<std::int64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    return utcTicks / kFileTimePerSecond - kSecondsFrom1601To1970;
}

std::int64_t UtcNow() {
    const SYSTEMTIME local = sys::LocalTime();
    FILETIME fileTime{};
    if (!SystemTimeToFileTime(&local, &fileTime)) return 0;
    const std::int64_t ticks = (static_cast<std::int64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    const std::int64_t localSeconds = ticks / kFileTimePerSecond - kSecondsFrom1601To1970;
    const auto utcMinute = UtcOfLocalMinute(localSeconds / 60);
    return utcMinute ? *utcMinute + localSeconds % 60 : 0;
}

}  // namespace wake
