#pragma once
// Exists so that framework and platform sources can reach the Qt objects behind the platform
// types (to put a back store on the screen, to paint a widget from an image). It includes Qt
// headers: include it only from .cpp files of platform/ and framework/, never from a header.

#include "platform/DrawContext.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <string_view>

namespace platform {

struct TBitmapImage::TImpl {
    QImage Image; // Format_RGB32; keeps its size for life (a drawing context relies on it)
};

inline QImage& QImageOf(TBitmapImage& Bitmap) { return Bitmap.Impl().Image; }
inline const QImage& QImageOf(const TBitmapImage& Bitmap) { return Bitmap.Impl().Image; }

// Fonts as the drawing library takes them, with antialiasing off (platform/qt/DrawContextText.cpp).
QFont QFontOf(const TFontDesc& Desc);
QString QStringOf(std::string_view Utf8);
// Whether there is an application that can load fonts; without one nothing measures or writes.
bool FontsAvailable();

} // namespace platform
