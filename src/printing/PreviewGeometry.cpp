#include "printing/PreviewGeometry.h"

#include <algorithm>

namespace preview {

Rect PageRect(int clientWidth, int clientHeight, int margin, int pageWidth, int pageHeight) {
    Rect r{margin, margin, 0, 0};
    if (pageWidth <= 0 || pageHeight <= 0) return r;
    if (pageHeight >= pageWidth) {
        const std::int64_t width = std::max(0, clientWidth - 2 * margin);
        const std::int64_t ratio = std::int64_t{pageHeight} * 95 / pageWidth;
        r.width = static_cast<int>(width);
        r.height = static_cast<int>(width * ratio / 100);
    } else {
        const std::int64_t height = std::max(0, clientHeight - 2 * margin);
        const std::int64_t ratio = std::int64_t{pageWidth} * 95 / pageHeight;
        r.height = static_cast<int>(height);
        r.width = static_cast<int>(height * ratio / 100);
    }
    return r;
}

int ScrollBarMaximum(std::int64_t range) {
    return static_cast<int>(std::clamp<std::int64_t>(range, 0, kScrollBarLimit));
}

std::int64_t ClampScrollPosition(std::int64_t position, std::int64_t range, std::int64_t visible) {
    return std::clamp<std::int64_t>(position, 0, std::max<std::int64_t>(range - visible, 0));
}

int ScrollBarPosition(std::int64_t p, std::int64_t range, std::int64_t visible) {
    if (range <= kScrollBarLimit || range <= visible) return static_cast<int>(p);
    const double scaled =
        static_cast<double>(p) * (kScrollBarLimit - visible) / (range - visible) + 0.5;
    return static_cast<int>(scaled);
}

std::int64_t ScrollPositionFromThumb(int t, std::int64_t range, std::int64_t visible) {
    if (range <= kScrollBarLimit || visible >= kScrollBarLimit) return t;
    const double scaled =
        static_cast<double>(t) * (range - visible) / (kScrollBarLimit - visible) + 0.5;
    return static_cast<std::int64_t>(scaled);
}

} // namespace preview
