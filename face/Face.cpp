#include "face/Face.h"

#include "face/BitmapFile.h"
#include "face/TimeDrawing.h"
#include "resources/resource_ids.h"
#include "common/Dpi.h"
#include "common/SystemVersion.h"
#include "common/Monitors.h"
#include "common/Settings.h"
#include "common/SystemSeams.h"

#include <algorithm>
#include <cstring>

namespace face {

bool SkinSurface::Create(HDC like, win::AutoBitmap image) {
    Reset();
    if (!image) return false;
    dc_.reset(CreateCompatibleDC(like));
    if (!dc_) return false;
    image_ = std::move(image);
    previous_ = SelectObject(dc_.get(), image_.get());
    return true;
}

int FaceState::shownWidth() const { return dpi::Scale(width, dpi); }
int FaceState::shownHeight() const { return dpi::Scale(height, dpi); }

void SkinSurface::Reset() {
    if (dc_ && previous_) SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    dc_.reset();
    image_.reset();
}

namespace {

using SizeRule = bool (*)(int, int);

// One skin image: the named file when it is a usable bitmap, else the built-in image.
win::AutoBitmap LoadSkinImage(HWND owner, const std::string& directory, const std::string& name, int builtInId,
                              SizeRule usable) {
    if (!face::IsBareFileName(name)) return face::LoadBuiltInBitmap(builtInId);
    const std::string path = directory + "\\" + name;
    if (path.size() >= MAX_PATH || !face::IsOrdinaryFile(path)) return face::LoadBuiltInBitmap(builtInId);
    win::AutoBitmap image = face::LoadBitmapFile(path);
    const SIZE size = face::BitmapSize(image.get());
    if (image && usable(size.cx, size.cy)) return image;
    image.reset();
    MessageBoxA(owner, kPictureWarningText, kPictureWarningCaption, MB_OK | MB_ICONWARNING);
    return face::LoadBuiltInBitmap(builtInId);
}

}  // namespace

void LoadSkinBitmaps(HWND main, FaceState& face) {
    ShowWindow(main, SW_HIDE);
    const std::string directory = settings::ReadText(settings::kOptionKey, settings::kSkinPath);
    const std::string backName = settings::ReadText(settings::kLoadKey, settings::kBmpBack);
    const std::string glyphName = settings::ReadText(settings::kLoadKey, settings::kBmpTime);
    face.backgroundImage = LoadSkinImage(main, directory, backName, IDB_BACKGROUND, face::BackgroundSizeUsable);
    face.glyphImage = LoadSkinImage(main, directory, glyphName, IDB_GLYPHS, face::GlyphStripSizeUsable);
    if (face.backgroundImage) {
        const SIZE size = face::BitmapSize(face.backgroundImage.get());
        face.width = size.cx;
        face.height = size.cy;
    }
}

void PrepareSkinSurfaces(HWND main, FaceState& face) {
    win::WindowDC screen(main);
    if (face.backgroundImage) face.background.Create(screen.get(), std::move(face.backgroundImage));
    if (face.glyphImage) face.glyphs.Create(screen.get(), std::move(face.glyphImage));
}

POINT ClockPlacement(const FaceState& face) {
    const std::vector<monitors::Monitor> list = monitors::DisplayMonitors();
    const auto left = settings::ReadNumber(settings::kLoadKey, settings::kClockLeft);
    const auto top = settings::ReadNumber(settings::kLoadKey, settings::kClockTop);
    monitors::Rect place =
        monitors::CentredIn(list[*monitors::PrimaryIndex(list)].work, face.shownWidth(), face.shownHeight());
    if (left && top) {
        // Any stored number is far off every monitor beyond this; clamped, the sums cannot overflow.
        constexpr int kFarAway = 1 << 28;
        const int x = std::clamp(*left, -kFarAway, kFarAway), y = std::clamp(*top, -kFarAway, kFarAway);
        place = monitors::BringWithinReach({x, y, x + face.shownWidth(), y + face.shownHeight()}, list);
    }
    return {place.left, place.top};
}

void PlaceClockWindow(HWND main, FaceState& face) {
    face.dpi = dpi::WindowDpi(main);
    const POINT at = ClockPlacement(face);
    MoveWindow(main, at.x, at.y, face.shownWidth(), face.shownHeight(), TRUE);
    // The window may have landed on a monitor of another DPI.
    const int there = dpi::WindowDpi(main);
    if (there != face.dpi) {
        face.dpi = there;
        MoveWindow(main, at.x, at.y, face.shownWidth(), face.shownHeight(), TRUE);
    }
}

void KeepClockWithinReach(HWND main) {
    if (IsIconic(main)) return;  // restored to its place, which is checked then
    RECT r{};
    GetWindowRect(main, &r);
    const monitors::Rect now = monitors::FromRect(r);
    const monitors::Rect place = monitors::BringWithinReach(now, monitors::DisplayMonitors());
    if (place == now) return;
    SetWindowPos(main, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// One region made at once from runs [first, last) (ExtCreateRegion).
HRGN RegionOfRuns(const face::Run* first, const face::Run* last) {
    const std::size_t count = static_cast<std::size_t>(last - first);
    // RGNDATA: the header followed by the rectangles, in one DWORD-aligned block.
    const std::size_t bytes = sizeof(RGNDATAHEADER) + count * sizeof(RECT);
    std::vector<DWORD> block((bytes + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* data = reinterpret_cast<RGNDATA*>(block.data());
    RECT bound{first->left, first->y, first->right, first->y + 1};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < count; ++i) {
        const face::Run& r = first[i];
        rects[i] = {r.left, r.y, r.right, r.y + 1};
        bound.left = std::min(bound.left, static_cast<LONG>(r.left));
        bound.right = std::max(bound.right, static_cast<LONG>(r.right));
        bound.bottom = std::max(bound.bottom, static_cast<LONG>(r.y + 1));
    }
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    data->rdh.rcBound = bound;
    return ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), data);
}

}  // namespace

HRGN BuildRegionFromRuns(const std::vector<face::Run>& runs) {
    if (runs.empty()) return nullptr;
    // Some platforms unite the rectangles of ExtCreateRegion one at a time, which grows with
    // the square of their number; so each row is made at once and the rows are then united
    // pairwise, each union joining regions of similar size.
    std::vector<win::AutoRegion> parts;
    for (std::size_t start = 0; start < runs.size();) {
        std::size_t end = start;
        while (end < runs.size() && runs[end].y == runs[start].y) ++end;
        parts.emplace_back(RegionOfRuns(&runs[start], &runs[start] + (end - start)));
        if (!parts.back()) return nullptr;
        start = end;
    }
    while (parts.size() > 1) {
        std::vector<win::AutoRegion> merged;
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
            CombineRgn(parts[i].get(), parts[i].get(), parts[i + 1].get(), RGN_OR);
            merged.push_back(std::move(parts[i]));
        }
        if (parts.size() % 2) merged.push_back(std::move(parts.back()));
        parts = std::move(merged);
    }
    return parts.front().release();
}

HRGN BuildRegionByUnion(const std::vector<face::Run>& runs) {
    HRGN region = nullptr;
    for (const face::Run& r : runs) {
        if (!region) {
            region = CreateRectRgn(r.left, r.y, r.right, r.y + 1);
            continue;
        }
        win::AutoRegion single(CreateRectRgn(r.left, r.y, r.right, r.y + 1));
        CombineRgn(region, region, single.get(), RGN_OR);
    }
    return region;
}

int ApplyWindowRegion(HWND main, HDC background, int width, int height, int dpi) {
    const face::PixelGrid grid = face::ReadSurfacePixels(background, width, height);
    win::AutoRegion region(BuildRegionFromRuns(face::ScaleRuns(face::ShapeRuns(grid), dpi)));
    // Without a shape pixel the window keeps its full rectangle (a null region).
    const int result = SetWindowRgn(main, region.get(), TRUE);
    if (result) region.release();  // the window owns the region now
    return result;
}

int ShownOpacity(int stored) { return sys::HighContrast() ? kMaxOpacity : stored; }

void ApplyFaceOpacity(HWND main) {
    if (!win::IsLayeredCapable()) return;
    const int opacity = ShownOpacity(face::ClockOpacity(settings::ReadNumber(settings::kLoadKey, settings::kAlpha)));
    SetLayeredWindowAttributes(main, 0, static_cast<BYTE>(opacity), LWA_ALPHA);
}

void ApplyFaceGeometry(HWND main, FaceState& face, face::TimeDrawing& drawTime) {
    face.dpi = dpi::WindowDpi(main);
    SetWindowPos(main, nullptr, 0, 0, face.shownWidth(), face.shownHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyFaceOpacity(main);
    ApplyWindowRegion(main, face.background.dc(), face.width, face.height, face.dpi);
    drawTime.PaintTimePos(face.background.dc(), face.width, face.height);
}

void FollowFaceDpi(HWND main, FaceState& face, int newDpi, const RECT* suggested) {
    face.dpi = newDpi > 0 ? newDpi : dpi::WindowDpi(main);
    RECT r{};
    GetWindowRect(main, &r);
    if (suggested) r = *suggested;
    SetWindowPos(main, nullptr, r.left, r.top, face.shownWidth(), face.shownHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyWindowRegion(main, face.background.dc(), face.width, face.height, face.dpi);
    InvalidateRect(main, nullptr, FALSE);
}

void PresentFace(HDC dc, HDC composed, const FaceState& face) {
    if (face.shownWidth() == face.width && face.shownHeight() == face.height) {
        BitBlt(dc, 0, 0, face.width, face.height, composed, 0, 0, SRCCOPY);
        return;
    }
    // Whole factors copy each pixel into a block and stay sharp; the others are smoothed.
    const int mode = dpi::WholeFactor(face.dpi) ? COLORONCOLOR : HALFTONE;
    const int previous = SetStretchBltMode(dc, mode);
    POINT origin{};
    if (mode == HALFTONE) SetBrushOrgEx(dc, 0, 0, &origin);
    StretchBlt(dc, 0, 0, face.shownWidth(), face.shownHeight(), composed, 0, 0, face.width, face.height, SRCCOPY);
    if (mode == HALFTONE) SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    SetStretchBltMode(dc, previous);
}

RECT ShownRect(const FaceState& face, const RECT& r) {
    // One pixel more on every side: a smoothed edge reaches into its neighbours.
    const int grow = dpi::WholeFactor(face.dpi) ? 0 : 1;
    return {dpi::Scale(r.left, face.dpi) - grow, dpi::Scale(r.top, face.dpi) - grow,
            dpi::Scale(r.right, face.dpi) + grow, dpi::Scale(r.bottom, face.dpi) + grow};
}

}  // namespace face
