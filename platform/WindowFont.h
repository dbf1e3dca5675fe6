#pragma once

#include <QFont>

namespace tavorin {

// The windows' font. Their fixed layouts are drawn in pixels for the
// classic small dialog font; Liberation Sans (Debian's fonts-liberation2),
// which has Arial's metrics, keeps every caption inside its control where
// the desktop's default sans (DejaVu, wider) does not.
inline QFont WindowFont(int pixelSize) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif); // the nearest sans where it is missing
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace tavorin
