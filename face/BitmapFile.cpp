#include "face/BitmapFile.h"

#include "face/FaceLayout.h"

namespace face {

bool IsOrdinaryFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// Whether the file's headers promise no more than it holds.
bool FileHoldsWholeBitmap(const std::string& path) {
    HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    win::AutoHandle file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return false;
    char head[kBitmapHeadBytes] = {};
    DWORD read = 0;
    if (!ReadFile(file.get(), head, sizeof head, &read, nullptr)) return false;
    return BitmapFileComplete(std::string_view(head, read), static_cast<std::uint64_t>(size.QuadPart));
}

}  // namespace

win::AutoBitmap LoadBitmapFile(const std::string& path) {
    if (!IsOrdinaryFile(path) || !FileHoldsWholeBitmap(path)) return {};
    return win::AutoBitmap(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

win::AutoBitmap LoadBuiltInBitmap(int resourceId) {
    return win::AutoBitmap(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

}  // namespace face
