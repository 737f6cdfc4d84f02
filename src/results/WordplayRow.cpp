#include "results/WordplayRow.h"

namespace {

constexpr std::array<std::string_view, WordplayType::Count> typeNames = {
    "Reversal",        "Anagram",           "Head Deletion",    "Middle Deletion",
    "Tail Deletion",   "Ends Deletion",     "Deletion",         "Alternation",
    "Charade",         "Container",         "Substitution",     "Contained Anagram",
    "Partial Anagram", "Augmented Anagram", "Multiple Anagram",
};

constexpr std::array<std::string_view, NotationSymbol::Count> symbols = {
    NotationSymbol::Charade, NotationSymbol::Container, NotationSymbol::Reversal,
    NotationSymbol::Anagram};

} // namespace

std::string_view TypeName(int type) {
    if (type < 0 || type >= WordplayType::Count) return {};
    return typeNames[static_cast<std::size_t>(type)];
}

std::string_view NotationSymbolText(int kind) {
    if (kind < 0 || kind >= NotationSymbol::Count) return {};
    return symbols[static_cast<std::size_t>(kind)];
}
