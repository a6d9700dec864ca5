// The break picture: a JPEG file decoded with the platform's picture loader and composed
// into a surface of the picture area's size.
#pragma once
#include <windows.h>

#include <string>

#include "apps/break/BreakLogic.h"
#include "common/Handles.h"

namespace breakwin {

// The decoded image of a file (JPEG, BMP, GIF), owned by the caller; empty when the file is
// missing or cannot be decoded.
win::AutoBitmap DecodeImageFile(const std::string& path);

// A surface of the picture area's size (width x height pixels; the area at 96 DPI when left
// out), compatible with reference: the picture scaled to fit it keeping its shape on the
// background colour, or, when the file cannot be shown, the background with the picture's
// number in its middle. *loaded tells which.
win::AutoBitmap ComposePicture(HDC reference, const std::string& path, int number, COLORREF background,
                               bool* loaded, int width = breaklogic::kPictureWidth,
                               int height = breaklogic::kPictureHeight);

}  // namespace breakwin
