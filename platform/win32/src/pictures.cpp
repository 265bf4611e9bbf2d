// Pictures through the Windows Imaging Component, which every Windows since
// XP SP3 ships (and Wine implements): BMP, JPEG, GIF, PNG, TIFF, ICO.
#include <windows.h>

#include <wincodec.h>

#include "machine.h"
#include "platform/win32/platform.h"

namespace orv::win32 {
namespace {

using namespace orv::platform;

// MinGW does not attach GUIDs to the WIC declarations: spelled out here.
constexpr CLSID kClsidWicImagingFactory = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr IID kIidWicImagingFactory = {
    0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
constexpr GUID kPixelFormat32bppBgr = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0e}};

template <class T>
class Com {
  public:
    Com() = default;
    ~Com() {
        if (p_) p_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

  private:
    T* p_ = nullptr;
};

// COM for the duration of one call, unless the thread already has it (in
// whatever apartment: RPC_E_CHANGED_MODE still lets in-process objects work).
class ComScope {
  public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT hr_;
};

class Win32Pictures : public Pictures {
  public:
    std::optional<PictureData> Load(std::string_view path) override {
        ComScope com;
        Com<IWICImagingFactory> factory;
        if (FAILED(CoCreateInstance(kClsidWicImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    kIidWicImagingFactory,
                                    reinterpret_cast<void**>(factory.Out()))))
            return std::nullopt;
        Com<IWICBitmapDecoder> decoder;
        if (FAILED(factory->CreateDecoderFromFilename(Wide(path).c_str(), nullptr, GENERIC_READ,
                                                      WICDecodeMetadataCacheOnDemand,
                                                      decoder.Out())))
            return std::nullopt;
        Com<IWICBitmapFrameDecode> frame;
        if (FAILED(decoder->GetFrame(0, frame.Out()))) return std::nullopt;
        Com<IWICFormatConverter> converter;
        if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
            FAILED(converter->Initialize(frame.Get(), kPixelFormat32bppBgr, WICBitmapDitherTypeNone,
                                         nullptr, 0.0, WICBitmapPaletteTypeCustom)))
            return std::nullopt;
        UINT w = 0, h = 0;
        if (FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0 || w > kMaxPictureSide ||
            h > kMaxPictureSide)
            return std::nullopt;
        PictureData p;
        p.width = static_cast<int>(w);
        p.height = static_cast<int>(h);
        p.pixels.resize(static_cast<std::size_t>(w) * h);
        if (FAILED(converter->CopyPixels(nullptr, w * 4, w * 4 * h,
                                         reinterpret_cast<BYTE*>(p.pixels.data()))))
            return std::nullopt;
        for (auto& px : p.pixels) px &= 0xFFFFFF;
        return p;
    }
};

}  // namespace

std::unique_ptr<Pictures> MakePictures() {
    return std::make_unique<Win32Pictures>();
}

}  // namespace orv::win32
