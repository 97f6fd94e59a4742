#pragma once

#include <QImage>
#include <QRect>

#include <vector>

namespace qex {

// Rectangles that together cover every pixel where `to` differs from `from` (two 1-bit images
// of one size), one per band of `bandRows` rows that has changes, each as narrow as its changes
// (to a whole byte). Empty when the images' pixels are equal.
std::vector<QRect> changedBands(const QImage& from, const QImage& to, int bandRows);

}  // namespace qex
