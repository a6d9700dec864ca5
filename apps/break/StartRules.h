// What Break does before its window covers the screens, without the platform: wait while the
// person presents or plays full screen, skip the break after an absence or a wait too long,
// warn with a notice that may be put off a few times, then break. Also the settings that steer
// it, read from the texts stored in stop.ini with every absurd value brought into range.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "common/MonitorLayout.h"

namespace breakstart {

inline constexpr int kDefaultNoticeSeconds = 10;
inline constexpr int kMaxNoticeSeconds = 60;
inline constexpr int kDefaultPostpones = 2;
inline constexpr int kMaxPostpones = 5;
// The stored value of "endsound" that means silence.
inline constexpr const char* kSilentSound = "0";

inline constexpr std::uint64_t kBusyCheckMs = 15 * 1000;      // asked again while busy
inline constexpr std::uint64_t kBusyGiveUpMs = 30 * 60 * 1000;  // then the break is skipped
inline constexpr std::uint64_t kPostponeMs = 5 * 60 * 1000;

enum class EndSound { BuiltIn, Silent, File };

struct Options {
    int seconds = 0;  // the break's length
    bool enforced = false;
    bool waitBusy = true;
    int noticeSeconds = kDefaultNoticeSeconds;
    int postpones = kDefaultPostpones;
    bool skipAway = true;
    EndSound endSound = EndSound::BuiltIn;
    std::string endSoundFile;  // for EndSound::File
};

// The texts of the keys as stored; empty when a key is absent.
struct StoredKeys {
    std::string waitBusy;
    std::string notice;
    std::string postpones;
    std::string skipAway;
    std::string endSound;
};

Options ReadOptions(int seconds, bool enforced, const StoredKeys& keys);

// The system's notification states (the values of QUERY_USER_NOTIFICATION_STATE), and which of
// them a break would interrupt: a full-screen program, a full-screen Direct3D program,
// presentation mode and quiet hours. 0 stands for a state the system could not tell.
inline constexpr int kStateUnknown = 0;
inline constexpr int kStateNotPresent = 1;
inline constexpr int kStateBusy = 2;
inline constexpr int kStateDirect3dFullScreen = 3;
inline constexpr int kStatePresentation = 4;
inline constexpr int kStateAcceptsNotifications = 5;
inline constexpr int kStateQuietTime = 6;
inline constexpr int kStateApp = 7;
bool BusyState(int state);

enum class Step {
    Wait,    // ask again in kBusyCheckMs
    Skip,    // end without showing anything
    Notice,  // warn first
    Break,   // cover the screens now
};

// What is known when Break asks what to do: at its start, again while it waits, and after a
// postponement (which starts over).
struct Moment {
    bool busy = false;
    std::uint64_t waitedMs = 0;  // since this start or the end of the last postponement
    std::uint64_t idleMs = 0;    // since the person's last keyboard or mouse input
    int postponesUsed = 0;
};

struct Decision {
    Step step = Step::Break;
    bool postponeOffered = false;  // with Step::Notice
    bool operator==(const Decision&) const = default;
};

Decision Decide(const Options& options, const Moment& moment);

// "A break of N seconds starts in S seconds."
std::string NoticeText(int breakSeconds, int secondsLeft);

// Where a width x height notice sits in the work area of a monitor: in the corner where the
// taskbar keeps its notification area (the right end of a bar at the top or the bottom, the
// bottom of a bar at either side), `margin` away from the edges.
monitors::Rect NoticePlace(const monitors::Rect& area, const monitors::Rect& work, int width, int height, int margin);

// Whether the first bytes of a file are those of a wave sound ("RIFF", a size, "WAVE").
bool WaveHeader(std::string_view bytes);

}  // namespace breakstart
