// The rules of one break that do not touch the platform: where the picture and the controls
// sit on the screen, which picture comes next, how long the break lasts and how many of its
// seconds are left.
#pragma once
#include <cstdint>
#include "common/StopIni.h"
#include <string>

namespace breaklogic {

// Pictures are numbered 1 to kPictureCount; the first one shown is one of 1 to kPictureCount - 1.
inline constexpr int kPictureCount = 20;
inline constexpr int kPictureWidth = 640;
inline constexpr int kPictureHeight = 480;

// The countdown label after the first tick: the number, two spaces, then this.
inline constexpr const char* kSecondsSuffix = "  Seconds time.";

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

// Where everything of the break window sits, in pixels of the screen.
struct BreakLayout {
    Rect picture;
    Rect closeButton;
    Rect previousButton;
    Rect nextButton;
    Rect countdownLabel;
    Rect headingLabel;
};

// The picture's top-left corner: centred on the screen, at the corner on a screen 480 pixels
// high, and never off the screen's top or left edge on a screen smaller than the picture.
Point PicturePosition(int screenWidth, int screenHeight);
// The picture and the controls, which sit at fixed places on the picture.
BreakLayout ComputeBreakLayout(int screenWidth, int screenHeight);

// The first picture from a random number in [0, 1): 1 to kPictureCount - 1.
int FirstPicture(double unitRandom);
// Next and Previous run through all the pictures and wrap around.
int NextPicture(int current);
int PreviousPicture(int current);
// "picture/<n>.jpg" under the directory (which has no trailing separator).
std::string PicturePath(const std::string& directory, int number);

// The rectangle of a width x height image scaled to fit the box keeping its aspect ratio,
// centred in it. An empty image gives an empty rectangle.
Rect FitInside(int width, int height, const Rect& box);


// The countdown measured on a monotonic millisecond clock, so a late or missed tick does not
// stretch the break.
class Countdown {
public:
    Countdown(int seconds, std::uint64_t startMs) : seconds_(stopini::ClampBreakLength(seconds)), startMs_(startMs) {}
    int total() const { return seconds_; }
    // Seconds left at nowMs: from total() down to 0, never below.
    int Remaining(std::uint64_t nowMs) const;
    bool Finished(std::uint64_t nowMs) const { return Remaining(nowMs) == 0; }

    // A tick that arrives this much before a whole second has passed still counts that second:
    // timers may fire a little early against the clock they are measured with.
    static constexpr std::uint64_t kTickSlackMs = 250;

private:
    int seconds_;
    std::uint64_t startMs_;
};

// The label text during the countdown: "<n>  Seconds time.".
std::string CountdownText(int remaining);

}  // namespace breaklogic
