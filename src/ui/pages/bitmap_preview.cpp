#include "ui/pages/bitmap_preview.h"

#include <QImage>
#include <algorithm>
#include <cstring>

#include "core/builders/mono_bitmap.h"

namespace rvq::ui {

QPixmap MonoBitmapPixmap(const MonoBitmap& bitmap, QSize box) {
    if (bitmap.width <= 0 || bitmap.height <= 0) return {};
    const auto stride = static_cast<std::size_t>((bitmap.width + 7) / 8);
    if (bitmap.rows.size() < stride * static_cast<std::size_t>(bitmap.height)) return {};
    // Format_Mono keeps the leftmost dot in the high bit, as the rows do.
    QImage image(bitmap.width, bitmap.height, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < bitmap.height; ++y) {
        std::memcpy(image.scanLine(y), bitmap.rows.data() + stride * static_cast<std::size_t>(y),
                    stride);
    }
    const int step =
        std::max(1, std::min(box.width() / bitmap.width, box.height() / bitmap.height));
    QImage scaled = image.scaled(bitmap.width * step, bitmap.height * step, Qt::IgnoreAspectRatio,
                                 Qt::FastTransformation);
    if (scaled.width() > box.width() || scaled.height() > box.height()) {
        scaled = scaled.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return QPixmap::fromImage(scaled);
}

}  // namespace rvq::ui
