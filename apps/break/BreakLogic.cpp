#include "apps/break/BreakLogic.h"

#include <algorithm>

namespace breaklogic {
namespace {

// The controls are placed on the picture at fixed offsets, given in twips of a 96-dpi
// screen (15 twips per pixel) so that they keep their places on the 640 x 480 picture.
constexpr int kTwipsPerPixel = 15;
constexpr int Px(int twips) { return twips / kTwipsPerPixel; }

Rect At(Point origin, int leftTwips, int topTwips, int widthTwips, int heightTwips) {
    return Rect{origin.x + Px(leftTwips), origin.y + Px(topTwips), Px(widthTwips), Px(heightTwips)};
}

}  // namespace

Point PicturePosition(int screenWidth, int screenHeight) {
    if (screenHeight == kPictureHeight) return Point{0, 0};
    return Point{std::max(0, (screenWidth - kPictureWidth) / 2), std::max(0, (screenHeight - kPictureHeight) / 2)};
}

BreakLayout ComputeBreakLayout(int screenWidth, int screenHeight) {
    const Point p = PicturePosition(screenWidth, screenHeight);
    BreakLayout l;
    l.picture = Rect{p.x, p.y, kPictureWidth, kPictureHeight};
    l.closeButton = At(p, 500, 6550, 1695, 375);
    l.previousButton = At(p, 7000, 6550, 975, 375);
    l.nextButton = At(p, 8250, 6550, 975, 375);
    l.countdownLabel = At(p, 500, 350, 3735, 645);
    l.headingLabel = At(p, 4800, 200, 4575, 615);
    return l;
}

int FirstPicture(double unitRandom) {
    const int n = static_cast<int>(unitRandom * (kPictureCount - 1)) + 1;
    return std::clamp(n, 1, kPictureCount - 1);
}

int NextPicture(int current) { return current >= kPictureCount || current < 1 ? 1 : current + 1; }

int PreviousPicture(int current) { return current <= 1 || current > kPictureCount ? kPictureCount : current - 1; }

std::string PicturePath(const std::string& directory, int number) {
    return directory + "/picture/" + std::to_string(number) + ".jpg";
}

Rect FitInside(int width, int height, const Rect& box) {
    if (width <= 0 || height <= 0 || box.width <= 0 || box.height <= 0) return Rect{box.left, box.top, 0, 0};
    // Compare width/height with box.width/box.height without rounding.
    const std::int64_t lhs = std::int64_t{width} * box.height;
    const std::int64_t rhs = std::int64_t{box.width} * height;
    int w = box.width;
    int h = box.height;
    if (lhs > rhs) {
        h = static_cast<int>(std::int64_t{box.width} * height / width);
    } else if (lhs < rhs) {
        w = static_cast<int>(std::int64_t{box.height} * width / height);
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    return Rect{box.left + (box.width - w) / 2, box.top + (box.height - h) / 2, w, h};
}

int Countdown::Remaining(std::uint64_t nowMs) const {
    if (nowMs <= startMs_) return seconds_;
    const std::uint64_t elapsed = (nowMs - startMs_ + kTickSlackMs) / 1000;
    return elapsed >= static_cast<std::uint64_t>(seconds_) ? 0 : seconds_ - static_cast<int>(elapsed);
}

std::string CountdownText(int remaining) { return std::to_string(remaining) + kSecondsSuffix; }

}  // namespace breaklogic
