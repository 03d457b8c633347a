#include <windows.h>

#include "platform/SystemIcon.h"

namespace fenmar::platform {

namespace {
// The bitmaps GetIconInfo hands out belong to the caller.
struct IconBitmaps {
    ICONINFO info{};
    ~IconBitmaps() {
        if (info.hbmColor != nullptr) {
            ::DeleteObject(info.hbmColor);
        }
        if (info.hbmMask != nullptr) {
            ::DeleteObject(info.hbmMask);
        }
    }
};

// A bitmap's pixels as 32-bit top-down rows (0x00RRGGBB or with alpha as stored).
bool ReadBits(HDC dc, HBITMAP bitmap, int width, int height, std::vector<std::uint32_t>& out) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    out.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), out.data(), &bmi,
                       DIB_RGB_COLORS) == height;
}
}  // namespace

std::optional<IconPixels> ConvertSystemIcon(const void* handle) {
    if (handle == nullptr) {
        return std::nullopt;
    }
    IconBitmaps bitmaps;
    if (!::GetIconInfo(static_cast<HICON>(const_cast<void*>(handle)), &bitmaps.info) ||
        bitmaps.info.hbmMask == nullptr) {
        return std::nullopt;
    }
    BITMAP mask{};
    if (::GetObjectA(bitmaps.info.hbmMask, static_cast<int>(sizeof mask), &mask) == 0) {
        return std::nullopt;
    }
    const bool monochrome = bitmaps.info.hbmColor == nullptr;
    // A monochrome icon's mask holds the AND half above the XOR half.
    const int width = mask.bmWidth;
    const int height = monochrome ? mask.bmHeight / 2 : mask.bmHeight;
    if (width < 1 || height < 1 || width > kMaxSystemIconSide || height > kMaxSystemIconSide) {
        return std::nullopt;
    }
    HDC dc = ::CreateCompatibleDC(nullptr);  // a memory DC: no screen needed
    if (dc == nullptr) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> andBits;
    std::vector<std::uint32_t> colour;
    bool ok = ReadBits(dc, bitmaps.info.hbmMask, width, monochrome ? height * 2 : height, andBits);
    if (ok && !monochrome) {
        ok = ReadBits(dc, bitmaps.info.hbmColor, width, height, colour);
    }
    ::DeleteDC(dc);
    if (!ok) {
        return std::nullopt;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    IconPixels icon;
    icon.width = width;
    icon.height = height;
    icon.argb.resize(count);
    bool hasAlpha = false;
    for (std::size_t i = 0; !monochrome && i < count; ++i) {
        hasAlpha = hasAlpha || (colour[i] & 0xFF000000u) != 0;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const bool transparent = (andBits[i] & 0x00FFFFFFu) != 0;  // mask bit set
        if (monochrome) {
            const bool white = (andBits[count + i] & 0x00FFFFFFu) != 0;
            icon.argb[i] = transparent ? 0u : (white ? 0xFFFFFFFFu : 0xFF000000u);
        } else if (hasAlpha) {
            icon.argb[i] = colour[i];
        } else {
            icon.argb[i] = transparent ? 0u : (0xFF000000u | (colour[i] & 0x00FFFFFFu));
        }
    }
    return icon;
}

}  // namespace fenmar::platform
