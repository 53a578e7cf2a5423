// Fonts and text measuring over Qt's fonts, apart from the drawing itself: measuring runs
// far more often than drawing (a chart sizes every label on every paint) and is replaced
// wholesale by tests that need the same metrics on every machine.
#include "platform/DrawContext.h"

#include "platform/qt/QtBridge.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

namespace platform {

QString QStringOf(std::string_view Text)
{
    return QString::fromUtf8(Text.data(), qsizetype(Text.size()));
}

bool FontsAvailable() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

// A positive height asks for the cell height (ascent plus descent) rather than the em.
QFont QFontOf(const TFontDesc& Desc)
{
    QFont font(QString::fromStdString(Desc.Name));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setBold(Desc.Bold);
    font.setItalic(Desc.Italic);
    font.setUnderline(Desc.Underline);
    font.setStrikeOut(Desc.StrikeOut);
    if (Desc.Height < 0) {
        font.setPixelSize(-Desc.Height);
    } else {
        const int cell = Desc.Height > 0 ? Desc.Height : 16;
        font.setPixelSize(cell);
        const int height = QFontMetrics(font).height();
        if (height > cell)
            font.setPixelSize(std::max(1, int(std::lround(double(cell) * cell / height))));
    }
    return font;
}

namespace {

// The real fonts. Measuring happens on the user-interface thread only, so the cache of the
// last font asked for needs no lock.
class TQtTextMetrics final : public TTextMetrics {
public:
    TSize Extent(const TFontDesc& Font, std::string_view Text) const override
    {
        const QFontMetrics* fm = Metrics(Font);
        if (!fm)
            return {};
        // A chart measures the same few labels on every paint, and laying text out is slow.
        std::string key = Font.Name;
        key += '\n';
        key += std::to_string(Font.Height);
        key += char('0' + (Font.Bold << 3 | Font.Italic << 2 | Font.Underline << 1 | Font.StrikeOut));
        key += Text;
        auto found = FWidths.find(key);
        if (found == FWidths.end()) {
            if (FWidths.size() >= kMaxWidths)
                FWidths.clear();
            found = FWidths.emplace(std::move(key), fm->horizontalAdvance(QStringOf(Text))).first;
        }
        return {found->second, fm->height()};
    }
    int Ascent(const TFontDesc& Font) const override
    {
        const QFontMetrics* fm = Metrics(Font);
        return fm ? fm->ascent() : 0;
    }

private:
    const QFontMetrics* Metrics(const TFontDesc& Font) const
    {
        if (!FontsAvailable())
            return nullptr;
        if (!FMetrics || !(FDesc == Font)) {
            FDesc = Font;
            FMetrics.emplace(QFontOf(Font));
        }
        return &*FMetrics;
    }

    static constexpr std::size_t kMaxWidths = 4096;
    mutable TFontDesc FDesc;
    mutable std::optional<QFontMetrics> FMetrics;
    mutable std::unordered_map<std::string, int> FWidths;
};

} // namespace

const TTextMetrics& SystemTextMetrics()
{
    static const TQtTextMetrics metrics;
    return metrics;
}

} // namespace platform
