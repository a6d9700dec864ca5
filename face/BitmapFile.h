// The one way the face loads bitmap files: the file's headers are checked against its size
// before the system is asked to load it, so a cut or foreign file is refused rather than
// handed to LoadImage (which may read past the data it has or never return on such files).
#pragma once
#include <windows.h>

#include <string>

#include "common/Handles.h"

namespace face {

// True when `path` names an existing file (not a folder).
bool IsOrdinaryFile(const std::string& path);

// The bitmap of a .bmp file as a DIB section in the file's own format, or null when the file
// is missing, cannot be read, or its headers promise more than it holds.
win::AutoBitmap LoadBitmapFile(const std::string& path);

// A bitmap resource of this program as a DIB section.
win::AutoBitmap LoadBuiltInBitmap(int resourceId);

// Pixel size of a bitmap (height positive for top-down images); {0, 0} when there is none.
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace face
