// Text measuring over GDI's fonts, on a memory DC of its own: measuring runs on the
// user-interface thread only, and is replaced wholesale by tests that need fixed metrics.
#include "platform/win32/Text.h"

namespace platform {

namespace win32 {

std::wstring WideOf(std::string_view Utf8)
{
    if (Utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, Utf8.data(), int(Utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(std::max(n, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, Utf8.data(), int(Utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8Of(std::wstring_view Wide)
{
    if (Wide.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, Wide.data(), int(Wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(std::size_t(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, Wide.data(), int(Wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

HFONT CreateFontOf(const TFontDesc& Desc)
{
    return CreateFontW(Desc.Height, 0, Desc.Escapement, Desc.Escapement,
                       Desc.Bold ? FW_BOLD : FW_NORMAL, Desc.Italic, Desc.Underline,
                       Desc.StrikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       NONANTIALIASED_QUALITY, DEFAULT_PITCH, WideOf(Desc.Name).c_str());
}

} // namespace win32

namespace {

class TGdiTextMetrics final : public TTextMetrics {
public:
    ~TGdiTextMetrics() override
    {
        if (FDc)
            DeleteDC(FDc);
        if (FFont)
            DeleteObject(FFont);
    }

    TSize Extent(const TFontDesc& Font, std::string_view Text) const override
    {
        if (!Select(Font))
            return {};
        const std::wstring wide = win32::WideOf(Text);
        SIZE size{};
        if (!GetTextExtentPoint32W(FDc, wide.data(), int(wide.size()), &size))
            return {};
        return {int(size.cx), int(size.cy)};
    }

    int Ascent(const TFontDesc& Font) const override
    {
        TEXTMETRICW metrics{};
        return Select(Font) && GetTextMetricsW(FDc, &metrics) ? int(metrics.tmAscent) : 0;
    }

private:
    bool Select(const TFontDesc& Font) const
    {
        if (!FDc)
            FDc = CreateCompatibleDC(nullptr);
        if (!FDc)
            return false;
        if (!FFont || !(FDesc == Font)) {
            HFONT font = win32::CreateFontOf(Font);
            if (!font)
                return false;
            SelectObject(FDc, font);
            if (FFont)
                DeleteObject(FFont);
            FFont = font;
            FDesc = Font;
        }
        return true;
    }

    mutable HDC FDc = nullptr;
    mutable HFONT FFont = nullptr;
    mutable TFontDesc FDesc;
};

} // namespace

const TTextMetrics& SystemTextMetrics()
{
    static const TGdiTextMetrics metrics;
    return metrics;
}

} // namespace platform
