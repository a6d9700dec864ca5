// Finds where the time goes on a background and draws a time text there from the glyph strip.
#pragma once
#include <windows.h>

#include <string>

#include "face/FaceLayout.h"

namespace face {

class TimeDrawing {
public:
    // Result codes of the methods.
    static constexpr long kOk = 0;
    static constexpr long kNotADigit = 13;        // a digit position of the text holds another character
    static constexpr long kUnreadableSurface = 5;  // the surface's pixels could not be read

    // Left and top edge of the time area on the background; (0, 0) until a marker is found.
    int ReLeft() const { return area_.left; }
    int ReTop() const { return area_.top; }

    // Scans the background on hDcMem (BmpWidth x BmpHeight) for the right-most black column.
    // Without any black pixel the time area stays where it was.
    long PaintTimePos(HDC hDcMem, int BmpWidth, int BmpHeight);

    // Draws StrTime ("09:05:03" or "9:05:03") onto hDestDc from the glyph strip on hSreDc.
    // Returns kNotADigit without drawing anything when the text cannot be drawn.
    long DrawTime(HDC hDestDc, HDC hSreDc, const char* StrTime) const;

private:
    face::TimeArea area_{};
};

// The pixels of the bitmap selected into dc (width x height from its origin), or an empty grid
// when they cannot be read.
face::PixelGrid ReadSurfacePixels(HDC dc, int width, int height);

// The time as the clock shows it: the system's time form, forced to 24 hours, no marker.
std::string ClockTimeText(const SYSTEMTIME& time);

}  // namespace face
