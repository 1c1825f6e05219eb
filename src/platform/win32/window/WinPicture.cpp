#include "platform/win32/window/WinPicture.h"

#include "platform/PictureSignature.h"
#include "platform/win32/CodePage.h"
#include "platform/win32/WinOs.h"
#include "platform/win32/window/HeardStream.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <wincodec.h>
#include <wrl/client.h>

namespace zelvano {

namespace {

using Microsoft::WRL::ComPtr;

// COM on the calling thread for as long as it lives; a thread that has it already keeps its own.
class ComUse {
public:
    ComUse() : started_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ComUse(const ComUse&) = delete;
    ComUse& operator=(const ComUse&) = delete;
    ~ComUse() {
        if (started_) {
            ::CoUninitialize();
        }
    }

private:
    bool started_;
};

OpResult Failed(Failure kind, const char* what, HRESULT hr) {
    char text[96];
    std::snprintf(text, sizeof text, "%s (error 0x%08lX)", what, static_cast<unsigned long>(hr));
    return OpResult::fail(kind, text);
}

// The first bytes of the file, for its signature and its orientation tag.
OpResult ReadHead(const std::string& path, std::string& head) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FromWinError(::GetLastError(), path);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return OpResult::fail(Failure::Other, "a folder, not a file");
    }
    HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return FromWinError(::GetLastError(), path);
    }
    head.resize(kExifBytes);
    DWORD read = 0;
    const BOOL ok = ::ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &read, nullptr);
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    head.resize(ok ? read : 0);
    return ok ? OpResult::success() : FromWinError(error, path);
}

// The largest size of the picture's proportions inside the bound, never larger than the picture.
PixelSize Fit(PixelSize picture, PixelSize bound) {
    if (picture.width <= bound.width && picture.height <= bound.height) {
        return picture;
    }
    const double scale = std::min(static_cast<double>(bound.width) / picture.width,
                                  static_cast<double>(bound.height) / picture.height);
    return {std::max(1, static_cast<int>(std::lround(picture.width * scale))),
            std::max(1, static_cast<int>(std::lround(picture.height * scale)))};
}

// Decodes a frame scaled to `stored` (in the frame's own orientation) as premultiplied BGRA.
OpResult Decode(IWICImagingFactory& factory, IWICBitmapSource* frame, PixelSize stored, PixelSize full,
                Pixels& out) {
    ComPtr<IWICBitmapSource> source = frame;
    if (stored.width != full.width || stored.height != full.height) {
        ComPtr<IWICBitmapScaler> scaler;
        HRESULT hr = factory.CreateBitmapScaler(&scaler);
        if (SUCCEEDED(hr)) {
            hr = scaler->Initialize(frame, static_cast<UINT>(stored.width), static_cast<UINT>(stored.height),
                                    WICBitmapInterpolationModeFant);
        }
        if (FAILED(hr)) {
            return Failed(Failure::Other, "the picture could not be scaled", hr);
        }
        source = scaler;
    }
    ComPtr<IWICFormatConverter> converter;
    HRESULT hr = factory.CreateFormatConverter(&converter);
    if (SUCCEEDED(hr)) {
        hr = converter->Initialize(source.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0, WICBitmapPaletteTypeCustom);
    }
    out.width = stored.width;
    out.height = stored.height;
    out.bgra.assign(static_cast<std::size_t>(stored.width) * static_cast<std::size_t>(stored.height), 0);
    if (SUCCEEDED(hr)) {
        const UINT stride = static_cast<UINT>(stored.width) * 4;
        hr = converter->CopyPixels(nullptr, stride, static_cast<UINT>(out.bgra.size() * 4),
                                   reinterpret_cast<BYTE*>(out.bgra.data()));
    }
    if (FAILED(hr)) {
        out = {};
        return Failed(Failure::Other, "the picture could not be decoded", hr);
    }
    return OpResult::success();
}

} // namespace

Pixels Upright(const Pixels& stored, int orientation) {
    const int w = stored.width;
    const int h = stored.height;
    const bool turned = orientation >= 5 && orientation <= 8;
    Pixels out{turned ? h : w, turned ? w : h, std::vector<std::uint32_t>(stored.bgra.size())};
    // Where the upright picture's pixel (x, y) is stored.
    const auto source = [&](int x, int y) -> std::pair<int, int> {
        switch (orientation) {
        case 2:
            return {w - 1 - x, y}; // mirrored
        case 3:
            return {w - 1 - x, h - 1 - y}; // upside down
        case 4:
            return {x, h - 1 - y}; // mirrored upside down
        case 5:
            return {y, x}; // mirrored, on its left side
        case 6:
            return {y, h - 1 - x}; // on its left side: turned clockwise to show
        case 7:
            return {w - 1 - y, h - 1 - x}; // mirrored, on its right side
        case 8:
            return {w - 1 - y, x}; // on its right side
        default:
            return {x, y};
        }
    };
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const auto [sx, sy] = source(x, y);
            out.bgra[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) +
                     static_cast<std::size_t>(x)] =
                stored.bgra[static_cast<std::size_t>(sy) * static_cast<std::size_t>(w) +
                            static_cast<std::size_t>(sx)];
        }
    }
    return out;
}

WinPictureRead ReadWinPicture(const std::string& path, PixelSize bound, LastAnswer* heard) {
    WinPictureRead out;
    std::string head;
    out.result = ReadHead(path, head);
    if (!out.result.ok()) {
        return out;
    }
    const ComUse com;
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr =
        ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    if (FAILED(hr)) {
        out.result = Failed(Failure::Other, "the picture decoders are missing", hr);
        return out;
    }
    ComPtr<IStream> stream;
    hr = OpenHeardStream(WideFromCodePage(path).value_or(std::wstring()), heard, &stream);
    if (FAILED(hr)) {
        out.result = FromWinError(HRESULT_CODE(hr), path);
        return out;
    }
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    hr = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder);
    if (SUCCEEDED(hr)) {
        hr = decoder->GetFrame(0, &frame);
    }
    UINT width = 0;
    UINT height = 0;
    if (SUCCEEDED(hr)) {
        hr = frame->GetSize(&width, &height);
    }
    if (FAILED(hr)) {
        // Only content that no decoder recognises is "not a picture": a picture of a format this
        // system lacks, or one cut short, is a picture all the same.
        out.result = LooksLikePicture(head)
                         ? Failed(Failure::Other, "the picture could not be read", hr)
                         : Failed(Failure::NotAPicture, "not a picture Windows can read", hr);
        return out;
    }
    const int orientation = ExifOrientation(head);
    const bool turned = orientation >= 5;
    const PixelSize full{static_cast<int>(width), static_cast<int>(height)};
    out.uprightSize = turned ? PixelSize{full.height, full.width} : full;
    if (bound.width <= 0 || bound.height <= 0) {
        return out;
    }
    const PixelSize fit = Fit(out.uprightSize, bound);
    Pixels stored;
    out.result =
        Decode(*factory.Get(), frame.Get(), turned ? PixelSize{fit.height, fit.width} : fit, full, stored);
    if (out.result.ok()) {
        out.image = orientation == 1 ? std::move(stored) : Upright(stored, orientation);
    }
    return out;
}

namespace {

// A read off the window's thread: the file's stamp, and the picture unless `last` stands for it.
struct StampedRead {
    std::optional<RememberedRead::Stamp> stamp;
    bool same = false;
    WinPictureRead read;
};

StampedRead ReadStamped(const std::string& path, PixelSize bound,
                        const std::optional<RememberedRead::Stamp>& last, LastAnswer& heard) {
    StampedRead got;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        const auto join = [](DWORD high, DWORD low) {
            return (std::uint64_t{high} << 32) | low;
        };
        got.stamp = RememberedRead::Stamp{
            path, join(data.nFileSizeHigh, data.nFileSizeLow),
            join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime), bound};
    }
    got.same = got.stamp && got.stamp == last;
    if (!got.same) {
        got.read = ReadWinPicture(path, bound, &heard);
    }
    return got;
}

} // namespace

WinPictureRead RememberedRead::read(const std::string& path, PixelSize bound,
                                    const OffThreadRead& offThread) {
    const auto got = std::make_shared<StampedRead>(); // a read given up may end after this has returned
    const OpResult waited = offThread([got, path, bound, last = last_](LastAnswer& heard) {
        *got = ReadStamped(path, bound, last, heard);
    });
    if (!waited.ok()) {
        return {waited, {}, {}};
    }
    if (got->same) {
        return read_;
    }
    last_ = got->read.result.ok() ? got->stamp : std::nullopt;
    read_ = last_ ? got->read : WinPictureRead{};
    return got->read;
}

} // namespace zelvano
