#pragma once

#include <QImage>

namespace qex {

// Expands a 1-bit image into `into` as RGB32, reusing its pixels when the size already fits,
// so that showing a frame neither allocates nor goes through Qt's general converter.
// Any other format falls back to Qt's conversion.
void expandToRgb32(const QImage& source, QImage& into);

}  // namespace qex
