// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/win32/picture.h"

#include "runtime/layout.h"
#include "runtime/win32/wide_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>

namespace runtime::win32 {
namespace {

// A picture as the build stores it: a 32-bit top-down BMP, its colours
// already multiplied by their opacity.
struct StoredPicture {
    SIZE size;
    // Four bytes a pixel, row after row, with no alignment promised.
    std::span<const BYTE> pixels;

    std::uint32_t pixel(int x, int y) const {
        std::uint32_t value = 0;
        std::memcpy(&value, pixels.data() + (static_cast<std::size_t>(y) * size.cx + x) * 4, 4);
        return value;
    }
};

// The bytes of the resource named `name`; they live as long as the program.
std::optional<std::span<const BYTE>> resourceBytes(const std::wstring &name) {
    const HMODULE program = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(program, name.c_str(), RT_RCDATA);
    const HGLOBAL loaded = resource != nullptr ? LoadResource(program, resource) : nullptr;
    if (loaded == nullptr)
        return std::nullopt;
    return std::span(static_cast<const BYTE *>(LockResource(loaded)),
                     SizeofResource(program, resource));
}

template <typename Header> Header readHeader(std::span<const BYTE> bytes, std::size_t offset) {
    Header header{};
    std::memcpy(&header, bytes.data() + offset, sizeof header);
    return header;
}

std::optional<StoredPicture> parse(std::span<const BYTE> bytes) {
    constexpr std::size_t headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    if (bytes.size() < headers)
        return std::nullopt;
    const auto file = readHeader<BITMAPFILEHEADER>(bytes, 0);
    const auto info = readHeader<BITMAPINFOHEADER>(bytes, sizeof(BITMAPFILEHEADER));
    const SIZE size{info.biWidth, -info.biHeight};
    const std::size_t count = static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy);
    if (file.bfType != 0x4D42 || info.biBitCount != 32 || info.biCompression != BI_RGB ||
        size.cx <= 0 || size.cy <= 0 || bytes.size() < file.bfOffBits + count * 4)
        return std::nullopt;
    return StoredPicture{size, bytes.subspan(file.bfOffBits, count * 4)};
}

// How much of the source span [from, from + 1) of one target pixel falls on
// source pixel `index`.
double overlap(double from, double length, int index) {
    return std::max(0.0, std::min(from + length, index + 1.0) - std::max(from, double(index)));
}

// The picture resampled to `size` by averaging the source pixels each target
// pixel covers: colours stay premultiplied, so transparent edges blend without
// dark fringes.
void resample(const StoredPicture &source, SIZE size, std::uint32_t *target) {
    const double scaleX = double(source.size.cx) / size.cx;
    const double scaleY = double(source.size.cy) / size.cy;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            std::array<double, 4> sum{};
            double weight = 0;
            const int firstRow = static_cast<int>(y * scaleY);
            const int firstColumn = static_cast<int>(x * scaleX);
            for (int sy = firstRow; sy < source.size.cy && sy < (y + 1) * scaleY; ++sy)
                for (int sx = firstColumn; sx < source.size.cx && sx < (x + 1) * scaleX; ++sx) {
                    const double w =
                        overlap(y * scaleY, scaleY, sy) * overlap(x * scaleX, scaleX, sx);
                    const std::uint32_t pixel = source.pixel(sx, sy);
                    for (int channel = 0; channel < 4; ++channel)
                        sum[channel] += w * ((pixel >> (8 * channel)) & 0xFF);
                    weight += w;
                }
            std::uint32_t pixel = 0;
            for (int channel = 0; channel < 4; ++channel)
                pixel |= static_cast<std::uint32_t>(std::lround(sum[channel] / weight))
                         << (8 * channel);
            target[static_cast<std::size_t>(y) * size.cx + x] = pixel;
        }
}

// A top-down 32-bit bitmap of the picture at `size`.
BitmapOwner toBitmap(const StoredPicture &source, SIZE size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = nullptr;
    BitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap)
        return nullptr;
    if (size.cx == source.size.cx && size.cy == source.size.cy)
        std::memcpy(pixels, source.pixels.data(), source.pixels.size_bytes());
    else
        resample(source, size, static_cast<std::uint32_t *>(pixels));
    return bitmap;
}

} // namespace

Picture loadPicture(std::string_view file, int dpi) {
    // A picture's own size is its size at 96 dpi; the twin has twice as many
    // pixels each way.
    int pixelsPerInch = standardDpi;
    auto bytes = dpi > standardDpi ? resourceBytes(toUtf16(denseTwinName(file))) : std::nullopt;
    if (bytes)
        pixelsPerInch = 2 * standardDpi;
    else
        bytes = resourceBytes(toUtf16(file));
    const std::optional<StoredPicture> stored = bytes ? parse(*bytes) : std::nullopt;
    if (!stored)
        return {};
    const SIZE size{MulDiv(stored->size.cx, dpi, pixelsPerInch),
                    MulDiv(stored->size.cy, dpi, pixelsPerInch)};
    BitmapOwner bitmap = toBitmap(*stored, size);
    if (!bitmap)
        return {};
    return {std::move(bitmap), size};
}

void drawPicture(HDC dc, const Picture &picture) {
    if (!picture.bitmap)
        return;
    const MemoryDc source(dc);
    const Selection selected(source.get(), picture.bitmap.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, 0, 0, picture.size.cx, picture.size.cy, source.get(), 0, 0, picture.size.cx,
               picture.size.cy, blend);
}

} // namespace runtime::win32
