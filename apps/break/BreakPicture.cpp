#include "apps/break/BreakPicture.h"

#include "apps/break/BreakLogic.h"

#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <string>

namespace breakwin {
namespace {

// Picture files beyond this size are not pictures of a break.
constexpr DWORD kMaxPictureBytes = 64u * 1024u * 1024u;

template <typename T>
struct ComRelease {
    void operator()(T* p) const { if (p) p->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease<T>>;

// Reads the whole file into movable global memory, as the stream over it needs.
HGLOBAL ReadFileToGlobal(const std::string& path, DWORD* size) {
    win::AutoHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();  // INVALID_HANDLE_VALUE is not a handle to close
        return nullptr;
    }
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.get(), &length) || length.QuadPart <= 0 || length.QuadPart > kMaxPictureBytes) {
        return nullptr;
    }
    const DWORD bytes = static_cast<DWORD>(length.QuadPart);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!mem) return nullptr;
    void* data = GlobalLock(mem);
    DWORD read = 0;
    const BOOL ok = data && ReadFile(file.get(), data, bytes, &read, nullptr) && read == bytes;
    if (data) GlobalUnlock(mem);
    if (!ok) {
        GlobalFree(mem);
        return nullptr;
    }
    *size = bytes;
    return mem;
}

void DrawPictureNumber(HDC dc, const RECT& area, int number) {
    const int height = (area.bottom - area.top) / 3;
    win::AutoFont font(CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma"));
    win::ScopedSelect select(dc, font.get());
    win::ScopedTextStyle style(dc, TRANSPARENT, RGB(255, 255, 255));
    RECT r = area;
    const std::string text = std::to_string(number);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

win::AutoBitmap DecodeImageFile(const std::string& path) {
    DWORD size = 0;
    HGLOBAL mem = ReadFileToGlobal(path, &size);
    if (!mem) return {};
    IStream* rawStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &rawStream))) {  // the stream frees mem from here on
        GlobalFree(mem);
        return {};
    }
    ComPtr<IStream> stream(rawStream);
    IPicture* rawPicture = nullptr;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&rawPicture))) ||
        !rawPicture) {
        return {};
    }
    ComPtr<IPicture> picture(rawPicture);
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) || !handle) {
        return {};
    }
    // The picture object owns its bitmap; keep a copy that outlives it.
    HANDLE copy = CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0);
    return win::AutoBitmap(static_cast<HBITMAP>(copy));
}

win::AutoBitmap ComposePicture(HDC reference, const std::string& path, int number, COLORREF background,
                               bool* loaded, int pictureWidth, int pictureHeight) {
    *loaded = false;
    win::AutoBitmap surface(CreateCompatibleBitmap(reference, pictureWidth, pictureHeight));
    win::AutoMemDC dc(CreateCompatibleDC(reference));
    if (!surface || !dc) return surface;
    win::ScopedSelect selectSurface(dc.get(), surface.get());
    const RECT area{0, 0, pictureWidth, pictureHeight};
    win::AutoBrush brush(CreateSolidBrush(background));
    FillRect(dc.get(), &area, brush.get());

    win::AutoBitmap image = DecodeImageFile(path);
    BITMAP info{};
    if (image && GetObjectA(image.get(), sizeof(info), &info) == sizeof(info) && info.bmWidth > 0 &&
        info.bmHeight != 0) {
        const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
        const breaklogic::Rect fit =
            breaklogic::FitInside(info.bmWidth, height, breaklogic::Rect{0, 0, pictureWidth, pictureHeight});
        win::AutoMemDC source(CreateCompatibleDC(reference));
        win::ScopedSelect selectImage(source.get(), image.get());
        if (fit.width == info.bmWidth && fit.height == height) {
            *loaded = BitBlt(dc.get(), fit.left, fit.top, fit.width, fit.height, source.get(), 0, 0, SRCCOPY) != 0;
        } else {
            SetStretchBltMode(dc.get(), HALFTONE);
            SetBrushOrgEx(dc.get(), 0, 0, nullptr);
            *loaded = StretchBlt(dc.get(), fit.left, fit.top, fit.width, fit.height, source.get(), 0, 0,
                                 info.bmWidth, height, SRCCOPY) != 0;
        }
    }
    if (!*loaded) {
        FillRect(dc.get(), &area, brush.get());
        DrawPictureNumber(dc.get(), area, number);
    }
    return surface;
}

}  // namespace breakwin
