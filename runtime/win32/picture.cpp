// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/win32/picture.h"

#include "runtime/layout.h"

#include <wincodec.h>

#include <optional>
#include <span>
#include <string>

namespace runtime::win32 {
namespace {

// The imaging component is a COM object: the apartment lives as long as the
// decoding, whether or not the thread had one already.
class ComApartment {
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    HRESULT m_result;
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

std::wstring denseTwinName(std::wstring_view file) {
    const std::size_t dot = file.rfind(L'.');
    return std::wstring(file.substr(0, dot)) + L"@2x" +
           std::wstring(dot == std::wstring_view::npos ? L"" : file.substr(dot));
}

template <typename Interface, typename Make> ComOwner<Interface> make(Make makeInto) {
    Interface *made = nullptr;
    return SUCCEEDED(makeInto(&made)) ? ComOwner<Interface>(made) : nullptr;
}

// The first frame of an encoded picture, decoded.
ComOwner<IWICBitmapFrameDecode> decode(IWICImagingFactory &factory, std::span<const BYTE> bytes) {
    const auto stream =
        make<IWICStream>([&](IWICStream **out) { return factory.CreateStream(out); });
    if (!stream || FAILED(stream->InitializeFromMemory(const_cast<BYTE *>(bytes.data()),
                                                       static_cast<DWORD>(bytes.size()))))
        return nullptr;
    const auto decoder = make<IWICBitmapDecoder>([&](IWICBitmapDecoder **out) {
        return factory.CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                               out);
    });
    if (!decoder)
        return nullptr;
    return make<IWICBitmapFrameDecode>(
        [&](IWICBitmapFrameDecode **out) { return decoder->GetFrame(0, out); });
}

// Converts to premultiplied 32-bit colour first, so that scaling blends
// transparent edges without dark fringes, then scales to `size`.
ComOwner<IWICBitmapSource> premultipliedAt(IWICImagingFactory &factory, IWICBitmapSource &source,
                                           SIZE size) {
    const auto converter = make<IWICFormatConverter>(
        [&](IWICFormatConverter **out) { return factory.CreateFormatConverter(out); });
    if (!converter || FAILED(converter->Initialize(&source, GUID_WICPixelFormat32bppPBGRA,
                                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                                   WICBitmapPaletteTypeCustom)))
        return nullptr;
    auto scaler = make<IWICBitmapScaler>(
        [&](IWICBitmapScaler **out) { return factory.CreateBitmapScaler(out); });
    if (!scaler ||
        FAILED(scaler->Initialize(converter.get(), static_cast<UINT>(size.cx),
                                  static_cast<UINT>(size.cy), WICBitmapInterpolationModeFant)))
        return nullptr;
    return ComOwner<IWICBitmapSource>(scaler.release());
}

// A top-down 32-bit bitmap holding the pixels of `source`.
BitmapOwner toBitmap(IWICBitmapSource &source, SIZE size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = nullptr;
    BitmapOwner bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    const UINT stride = static_cast<UINT>(size.cx) * 4;
    if (!bitmap || FAILED(source.CopyPixels(nullptr, stride, stride * static_cast<UINT>(size.cy),
                                            static_cast<BYTE *>(pixels))))
        return nullptr;
    return bitmap;
}

} // namespace

Picture loadPicture(std::wstring_view file, int dpi) {
    // A picture's own size is its size at 96 dpi; the twin has twice as many
    // pixels each way.
    int pixelsPerInch = standardDpi;
    auto bytes = dpi > standardDpi ? resourceBytes(denseTwinName(file)) : std::nullopt;
    if (bytes)
        pixelsPerInch = 2 * standardDpi;
    else
        bytes = resourceBytes(std::wstring(file));
    if (!bytes)
        return {};

    const ComApartment apartment;
    const auto factory = make<IWICImagingFactory>([](IWICImagingFactory **out) {
        return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void **>(out));
    });
    const auto frame = factory ? decode(*factory, *bytes) : nullptr;
    UINT width = 0;
    UINT height = 0;
    if (!frame || FAILED(frame->GetSize(&width, &height)))
        return {};
    const SIZE size{MulDiv(static_cast<int>(width), dpi, pixelsPerInch),
                    MulDiv(static_cast<int>(height), dpi, pixelsPerInch)};
    const auto scaled = premultipliedAt(*factory, *frame, size);
    BitmapOwner bitmap = scaled ? toBitmap(*scaled, size) : nullptr;
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
