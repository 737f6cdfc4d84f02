#include "layout/DialogLayout.h"

#include "settings/SettingsText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace layout {

int MoveOffset(MoveMode mode, int client, int position, int size) {
    switch (mode) {
    case MoveMode::Centre:
        return (client + 1) / 2 - position;
    case MoveMode::KeepFar:
        return client - position;
    case MoveMode::Stretch:
        return client - position - size;
    default:
        return 0;
    }
}

Span MovePlace(MoveMode mode, int client, int offset, int position, int size) {
    switch (mode) {
    case MoveMode::Centre:
        return {(client + 1) / 2 - offset, size};
    case MoveMode::KeepFar:
        return {client - offset, size};
    case MoveMode::Stretch:
        return {position, std::max(0, client - offset - position)};
    default:
        return {position, size};
    }
}

namespace {

// Edges in 64 bits: a stored position near the integer limits must not wrap
// round onto the screen.
struct Edges {
    std::int64_t left, top, right, bottom;
};

Edges EdgesOf(const Rect& r) {
    return {r.x, r.y, std::int64_t{r.x} + r.width, std::int64_t{r.y} + r.height};
}

// The area r shares with monitor; 0 when they do not overlap.
std::int64_t Overlap(const Rect& r, const Rect& monitor) {
    const Edges a = EdgesOf(r);
    const Edges b = EdgesOf(monitor);
    const std::int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const std::int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

} // namespace

Rect VirtualScreen(std::span<const Rect> monitors) {
    if (monitors.empty()) return {};
    Edges all = EdgesOf(monitors.front());
    for (const Rect& m : monitors) {
        const Edges e = EdgesOf(m);
        all = {std::min(all.left, e.left), std::min(all.top, e.top), std::max(all.right, e.right),
               std::max(all.bottom, e.bottom)};
    }
    return {static_cast<int>(all.left), static_cast<int>(all.top),
            static_cast<int>(all.right - all.left), static_cast<int>(all.bottom - all.top)};
}

bool TouchesAMonitor(const Rect& r, std::span<const Rect> monitors) {
    return std::any_of(monitors.begin(), monitors.end(),
                       [&r](const Rect& m) { return Overlap(r, m) > 0; });
}

Rect MainWindowRect(const Rect& stored, std::span<const Rect> monitors, int primaryWidth,
                    int primaryHeight) {
    if (stored.width > 0 && stored.height > 0 && TouchesAMonitor(stored, monitors)) return stored;
    return {0, 0, primaryWidth * 11 / 20, primaryHeight * 7 / 8};
}

std::optional<Rect> RestorablePosition(std::string_view stored, std::span<const Rect> monitors,
                                       bool sizable, int currentWidth, int currentHeight) {
    if (stored.empty()) return std::nullopt;
    const Placement p = ParsePlacement(stored);
    const Edges screen = EdgesOf(VirtualScreen(monitors));
    if (p.width <= 0 || p.height <= 0 || p.left >= screen.right || p.top >= screen.bottom)
        return std::nullopt;
    Rect r{p.left, std::max(p.top, static_cast<int>(screen.top)), p.width, p.height};
    if (!sizable) {
        r.width = currentWidth;
        r.height = currentHeight;
    }
    const Rect* home = nullptr;
    std::int64_t best = 0;
    for (const Rect& m : monitors)
        if (const std::int64_t area = Overlap(r, m); area > best) {
            best = area;
            home = &m;
        }
    if (!home) return std::nullopt;
    r.y = std::max(r.y, home->y);
    return r;
}

std::optional<Rect> RestorablePosition(std::string_view stored, int screenWidth, int screenHeight,
                                       bool sizable, int currentWidth, int currentHeight) {
    const Rect screen{0, 0, screenWidth, screenHeight};
    return RestorablePosition(stored, std::span<const Rect>(&screen, 1), sizable, currentWidth,
                              currentHeight);
}

std::string TooltipText(std::string_view tableText) {
    const auto lineBreak = tableText.find('\n');
    if (lineBreak == std::string_view::npos) return std::string(tableText);
    return std::string(tableText.substr(lineBreak + 1));
}

std::vector<Polyline> SortTriangle(int indicator, int right, int top, int bottom, int& rightAfter) {
    rightAfter = right;
    if (indicator == 0) return {};
    const int b = (bottom - top) / 3;
    const int R = right;
    // Heights are relative to the header's top edge, as the header draws them.
    const int low = bottom - b;
    std::vector<Polyline> lines;
    if (indicator > 0) {
        lines.push_back(
            {true, {{R - 2 * b, b - 1}, {R - 3 * b / 2, low}, {R - 5 * b / 2 - 2, low}}});
        lines.push_back({false, {{R - 5 * b / 2 - 1, low - 1}, {R - 2 * b, b - 2}}});
    } else {
        lines.push_back({true, {{R - 3 * b / 2, b + 1}, {R - 2 * b - 1, low + 1}}});
        lines.push_back(
            {false, {{R - 2 * b - 1, low}, {R - 5 * b / 2 - 1, b - 1}, {R - 3 * b / 2, b - 1}}});
    }
    rightAfter = R - 3 * b;
    return lines;
}

std::string ShortDictionaryName(std::string_view fullName) {
    std::string result;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = std::min(fullName.find(';', from), fullName.size());
        std::string_view piece = fullName.substr(from, end - from);
        const auto slash = piece.find_last_of('\\');
        if (slash != std::string_view::npos) piece.remove_prefix(slash + 1);
        constexpr std::string_view kExtension = ".owd";
        if (piece.size() >= kExtension.size()) {
            const std::string_view tail = piece.substr(piece.size() - kExtension.size());
            const bool same =
                std::equal(tail.begin(), tail.end(), kExtension.begin(), [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) == b;
                });
            if (same) piece.remove_suffix(kExtension.size());
        }
        if (from != 0) result += ';';
        result += piece;
        if (end >= fullName.size()) break;
        from = end + 1;
    }
    return result;
}

Point ClampToScreen(Point p, int screenWidth, int screenHeight) {
    return ClampToArea(p, Rect{0, 0, screenWidth, screenHeight});
}

Point ClampToArea(Point p, const Rect& area) {
    return {std::clamp(p.x, area.x, area.x + std::max(0, area.width)),
            std::clamp(p.y, area.y, area.y + std::max(0, area.height))};
}

std::string ChooserTitle(std::string_view label) {
    std::string title;
    for (char c : label)
        if (c != '&' && c != ':') title += c;
    return title;
}

std::string LinkText(std::string_view address) {
    constexpr std::string_view kMailto = "mailto:";
    constexpr std::string_view kSubject = "?Subject=";
    if (const auto at = address.find(kMailto); at != std::string_view::npos)
        address.remove_prefix(at + kMailto.size());
    if (const auto at = address.find(kSubject); at != std::string_view::npos)
        address = address.substr(0, at);
    return std::string(address);
}

std::int32_t ScaleFontDimension(std::int32_t value, double scale) {
    // std::round takes halves away from zero; the clamp keeps an absurd
    // scale from overflowing the conversion back.
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    const double scaled = std::round(static_cast<double>(value) * scale);
    if (std::isnan(scaled)) return value;
    return static_cast<std::int32_t>(std::clamp(scaled, low, high));
}

} // namespace layout
