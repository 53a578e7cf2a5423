#pragma once
// Text measuring with fixed metrics, so that layouts can be checked to the pixel whatever fonts
// a machine has. While an instance lives it replaces the platform's measuring (not the glyphs
// that are drawn): every character is CharWidth wide unless Widths names it, and every text is
// Height high, whatever the font.

#include "platform/DrawContext.h"

#include <map>
#include <string_view>

class FakeMetrics : public platform::TTextMetrics {
public:
    explicit FakeMetrics(int CharWidth = 7, int Height = 13, int Ascent = 10)
        : CharWidth(CharWidth), Height(Height), AscentPixels(Ascent)
    {
        platform::SetTextMetrics(this);
    }
    ~FakeMetrics() override { platform::SetTextMetrics(nullptr); }
    FakeMetrics(const FakeMetrics&) = delete;
    FakeMetrics& operator=(const FakeMetrics&) = delete;

    TSize Extent(const platform::TFontDesc&, std::string_view Text) const override
    {
        int w = 0;
        for (char c : Text) {
            // Continuation bytes of UTF-8 add nothing: one width per character.
            if ((static_cast<unsigned char>(c) & 0xC0) == 0x80)
                continue;
            const auto it = Widths.find(c);
            w += it == Widths.end() ? CharWidth : it->second;
        }
        return {w, Height};
    }
    int Ascent(const platform::TFontDesc&) const override { return AscentPixels; }

    int CharWidth;
    int Height;
    int AscentPixels;
    std::map<char, int> Widths;
};
