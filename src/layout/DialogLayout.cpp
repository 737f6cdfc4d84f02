#include "layout/DialogLayout.h"

#include "settings/SettingsText.h"

#include <algorithm>
#include <cctype>

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

std::optional<Rect> RestorablePosition(std::string_view stored, int screenWidth, int screenHeight,
                                       bool sizable, int currentWidth, int currentHeight) {
    if (stored.empty()) return std::nullopt;
    const Placement p = ParsePlacement(stored);
    if (p.width <= 0 || p.height <= 0 || p.left >= screenWidth || p.top >= screenHeight)
        return std::nullopt;
    Rect r{p.left, std::max(0, p.top), p.width, p.height};
    if (!sizable) {
        r.width = currentWidth;
        r.height = currentHeight;
    }
    return r;
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
    return {std::clamp(p.x, 0, std::max(0, screenWidth)),
            std::clamp(p.y, 0, std::max(0, screenHeight))};
}

} // namespace layout
