#include "apps/break/StartRules.h"

#include <algorithm>

#include "common/StopIni.h"

namespace breakstart {

Options ReadOptions(int seconds, bool enforced, const StoredKeys& keys) {
    Options o;
    o.seconds = seconds;
    o.enforced = enforced;
    o.waitBusy = stopini::SwitchKey(keys.waitBusy, stopini::kWaitBusyDefault);
    o.noticeSeconds = stopini::RangedKey(keys.notice, 0, kMaxNoticeSeconds, kDefaultNoticeSeconds);
    o.postpones = stopini::RangedKey(keys.postpones, 0, kMaxPostpones, kDefaultPostpones);
    o.skipAway = stopini::SwitchKey(keys.skipAway, stopini::kSkipAwayDefault);
    if (keys.endSound.empty()) {
        o.endSound = EndSound::BuiltIn;
    } else if (keys.endSound == kSilentSound) {
        o.endSound = EndSound::Silent;
    } else {
        o.endSound = EndSound::File;
        o.endSoundFile = keys.endSound;
    }
    return o;
}

bool BusyState(int state) {
    return state == kStateBusy || state == kStateDirect3dFullScreen || state == kStatePresentation ||
           state == kStateQuietTime;
}

Decision Decide(const Options& options, const Moment& moment) {
    if (options.waitBusy && moment.busy) {
        // Never forced over the full-screen program: after the wait the break is dropped.
        return {moment.waitedMs >= kBusyGiveUpMs ? Step::Skip : Step::Wait, false};
    }
    // Away for at least the break's length: the break has been had. A break of no length
    // measures no absence.
    if (options.skipAway && options.seconds > 0 &&
        moment.idleMs >= static_cast<std::uint64_t>(options.seconds) * 1000) {
        return {Step::Skip, false};
    }
    if (options.noticeSeconds > 0) {
        return {Step::Notice, !options.enforced && moment.postponesUsed < options.postpones};
    }
    return {Step::Break, false};
}

std::string NoticeText(int breakSeconds, int secondsLeft) {
    return "A break of " + std::to_string(breakSeconds) + " seconds starts in " + std::to_string(secondsLeft) +
           " seconds.";
}

monitors::Rect NoticePlace(const monitors::Rect& area, const monitors::Rect& work, int width, int height, int margin) {
    // The bar sits on the side where the work area leaves part of the monitor.
    const bool barLeft = work.left > area.left;
    const bool barTop = work.top > area.top;
    const int left = barLeft ? work.left + margin : work.right - margin - width;
    const int top = barTop ? work.top + margin : work.bottom - margin - height;
    // A work area smaller than the notice keeps its top-left corner in view.
    const int x = std::max(work.left, left);
    const int y = std::max(work.top, top);
    return {x, y, x + width, y + height};
}

bool WaveHeader(std::string_view bytes) {
    return bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WAVE";
}

}  // namespace breakstart
