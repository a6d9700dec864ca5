// The clock face's images and the window they shape: loading the skin images (or the built-in
// ones), the two off-screen surfaces, the window's place, size, translucency and outline.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "face/FaceLayout.h"
#include "common/Handles.h"

namespace face {

class TimeDrawing;

// An off-screen surface holding one image; owns both and unselects the image before release.
class SkinSurface {
public:
    SkinSurface() = default;
    SkinSurface(const SkinSurface&) = delete;
    SkinSurface& operator=(const SkinSurface&) = delete;
    ~SkinSurface() { Reset(); }

    // Creates a surface compatible with `like` and puts `image` on it (taking ownership).
    bool Create(HDC like, win::AutoBitmap image);
    void Reset();
    HDC dc() const { return dc_.get(); }
    explicit operator bool() const { return static_cast<bool>(dc_); }

private:
    win::AutoMemDC dc_;
    win::AutoBitmap image_;
    HGDIOBJ previous_ = nullptr;  // the surface's own stock bitmap, put back before release
};

// The face of the clock window: its two images and their surfaces.
struct FaceState {
    win::AutoBitmap backgroundImage;  // loaded, waiting for PrepareSkinSurfaces
    win::AutoBitmap glyphImage;
    SkinSurface background;
    SkinSurface glyphs;
    int width = 0;   // background size in the skin's pixels, which are 96-DPI units
    int height = 0;
    int dpi = 96;    // the DPI of the clock window's monitor: the window is the face scaled to it
    int shownWidth() const;   // the clock window's size: the background's at dpi
    int shownHeight() const;
};

inline constexpr const char* kPictureWarningCaption = "Unknown picture format";
inline constexpr const char* kPictureWarningText =
    "Unknown picture format, Single shot the \n button neglect this mistake.";

// Hides the main window, then loads the background and the glyph strip named in the settings
// from the skin directory. A name that is not an existing file means the built-in image; a file
// that is no usable bitmap gives the picture-format warning once and the built-in image.
void LoadSkinBitmaps(HWND main, FaceState& face);
// (Re)creates the two surfaces from the images LoadSkinBitmaps loaded.
void PrepareSkinSurfaces(HWND main, FaceState& face);
// Moves the window to its stored place, or centres it when no usable place is stored or the
// stored one is out of reach (ClockPlacement), at the background's size at the window's DPI
// (which it reads into face.dpi first).
void PlaceClockWindow(HWND main, FaceState& face);
// After a change of the monitors (one removed, a resolution lowered): a clock left out of reach
// is centred on the work area of the monitor nearest to it; one within reach stays.
void KeepClockWithinReach(HWND main);
// Cuts the window's outline out of the background: pixels of the top-left pixel's colour are
// left out; the outline is scaled to dpi as the picture is. Returns SetWindowRgn's result.
int ApplyWindowRegion(HWND main, HDC background, int width, int height, int dpi = 96);
// The clock window moved to a monitor of another DPI (WM_DPICHANGED): the face takes the new
// DPI, the window keeps the suggested top-left corner (where a drag put it) at the face's size
// there, and its outline is scaled anew.
void FollowFaceDpi(HWND main, FaceState& face, int newDpi, const RECT* suggested);
// Paints the composed face (background with the time, face.width x face.height on `composed`)
// onto dc at the window's size: copied as it is at 96 DPI, each pixel made a block at whole
// factors (200 %), smoothed at the others (125 %, 150 %).
void PresentFace(HDC dc, HDC composed, const FaceState& face);
// The rectangle of the window that shows the skin's rectangle r (96-DPI units).
RECT ShownRect(const FaceState& face, const RECT& r);
// Size, translucency, outline and time position of the window, in that order.
void ApplyFaceGeometry(HWND main, FaceState& face, TimeDrawing& drawTime);
// The clock's opacity as shown: the stored one, or opaque while high contrast is on (the skin
// stays, its text must stay legible).
int ShownOpacity(int stored);
// Applies the shown opacity to the clock window (after a skin load or a settings change).
void ApplyFaceOpacity(HWND main);

// Where the clock goes: the stored place when at least half of the face lies on the monitors'
// work areas, else centred on the work area of the monitor nearest to it; centred on the primary
// monitor's work area when no usable place is stored.
POINT ClockPlacement(const FaceState& face);

// The region made of the runs: each row made at once (ExtCreateRegion), the rows united
// pairwise; and the same region united rectangle by rectangle (CombineRgn). Null for no runs;
// the caller owns the result.
HRGN BuildRegionFromRuns(const std::vector<face::Run>& runs);
HRGN BuildRegionByUnion(const std::vector<face::Run>& runs);

}  // namespace face
