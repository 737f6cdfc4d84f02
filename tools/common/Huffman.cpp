#include "common/Huffman.h"

#include <algorithm>
#include <queue>

namespace quillon::tools {
namespace {

std::vector<int> CodedSymbols(const Weights& weights) {
    std::vector<int> symbols;
    for (int b = 0; b < 256; ++b)
        if (weights[b] > 0) symbols.push_back(b);
    return symbols;
}

} // namespace

CodeLengths HuffmanLengths(const Weights& weights) {
    CodeLengths lengths{};
    const auto symbols = CodedSymbols(weights);
    if (symbols.size() == 1) {
        lengths[symbols[0]] = 1;
        return lengths;
    }
    // Nodes 0..255 are leaves; merged nodes follow, each remembering its parent.
    std::vector<int> parent(256, -1);
    using Item = std::pair<std::uint64_t, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
    for (int s : symbols)
        queue.push({weights[s], s});
    while (queue.size() > 1) {
        const auto [wa, a] = queue.top();
        queue.pop();
        const auto [wb, b] = queue.top();
        queue.pop();
        const int merged = static_cast<int>(parent.size());
        parent.push_back(-1);
        parent[a] = parent[b] = merged;
        queue.push({wa + wb, merged});
    }
    for (int s : symbols) {
        unsigned depth = 0;
        for (int n = s; parent[n] >= 0; n = parent[n])
            ++depth;
        lengths[s] = static_cast<std::uint8_t>(depth);
    }
    return lengths;
}

CodeLengths LimitedLengths(const Weights& weights, unsigned maxLength) {
    CodeLengths lengths{};
    auto symbols = CodedSymbols(weights);
    const std::size_t n = symbols.size();
    if (n == 1) {
        lengths[symbols[0]] = 1;
        return lengths;
    }
    if (n == 0) return lengths;
    std::stable_sort(symbols.begin(), symbols.end(),
                     [&](int a, int b) { return weights[a] < weights[b]; });

    // Package-merge: a list item is a weight and how many times each symbol
    // is inside it. Start from the leaves at the deepest level; each level up
    // pairs neighbours into packages and merges them with fresh leaves.
    struct Item {
        std::uint64_t weight;
        std::vector<std::uint8_t> count;
    };
    std::vector<Item> leaves;
    for (std::size_t i = 0; i < n; ++i) {
        Item item{weights[symbols[i]], std::vector<std::uint8_t>(n, 0)};
        item.count[i] = 1;
        leaves.push_back(std::move(item));
    }
    std::vector<Item> list = leaves;
    for (unsigned level = 1; level < maxLength; ++level) {
        std::vector<Item> packages;
        for (std::size_t i = 0; i + 1 < list.size(); i += 2) {
            Item p{list[i].weight + list[i + 1].weight, list[i].count};
            for (std::size_t k = 0; k < n; ++k)
                p.count[k] += list[i + 1].count[k];
            packages.push_back(std::move(p));
        }
        std::vector<Item> merged;
        merged.reserve(leaves.size() + packages.size());
        std::size_t a = 0, b = 0;
        while (a < leaves.size() || b < packages.size()) {
            if (b == packages.size() ||
                (a < leaves.size() && leaves[a].weight <= packages[b].weight))
                merged.push_back(leaves[a++]);
            else
                merged.push_back(std::move(packages[b++]));
        }
        list = std::move(merged);
    }
    for (std::size_t i = 0; i < 2 * n - 2 && i < list.size(); ++i)
        for (std::size_t k = 0; k < n; ++k)
            lengths[symbols[k]] += list[i].count[k];
    return lengths;
}

CodeTable CanonicalCodes(const CodeLengths& lengths) {
    CodeTable table;
    table.length = lengths;
    std::vector<int> order;
    for (int b = 0; b < 256; ++b)
        if (lengths[b] > 0) order.push_back(b);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return lengths[a] < lengths[b]; });
    std::uint64_t code = 0;
    unsigned previous = order.empty() ? 0 : lengths[order[0]];
    for (int b : order) {
        code <<= (lengths[b] - previous);
        previous = lengths[b];
        table.code[b] = static_cast<std::uint32_t>(code);
        ++code;
    }
    return table;
}

unsigned ReaderInnerNodes(const CodeTable& table) {
    // Mirrors the reader: nodes 256.. are inner, -1 is no child. Counting goes
    // on past the reader's limit so the caller sees by how much it overflows.
    std::vector<std::array<int, 2>> child(1, {-1, -1}); // index 0 is the root
    for (int e = 0; e < 256; ++e) {
        const unsigned length = table.length[e];
        if (length == 0) continue;
        std::size_t node = 0;
        for (unsigned k = length - 1; k >= 1; --k) {
            for (int side = 0; side < 2; ++side) {
                if (child[node][side] == -1) {
                    child[node][side] = 256 + static_cast<int>(child.size());
                    child.push_back({-1, -1});
                }
            }
            const int next = child[node][(table.code[e] >> k) & 1];
            if (next < 256) return 1000; // a leaf in the middle: not a prefix code
            node = static_cast<std::size_t>(next - 256);
        }
        child[node][table.code[e] & 1] = e;
    }
    return static_cast<unsigned>(child.size());
}

std::uint64_t CodeCost(const CodeLengths& lengths, const Weights& weights) {
    std::uint64_t cost = 0;
    for (int b = 0; b < 256; ++b)
        cost += lengths[b] * weights[b];
    return cost;
}

CodeTable ChooseCodes(const Weights& weights) {
    const CodeLengths best = LimitedLengths(weights);
    CodeTable table = CanonicalCodes(best);
    if (ReaderInnerNodes(table) <= kReaderInnerNodes) return table;

    CodeLengths monotone{};
    std::uint8_t floor = 0;
    for (int b = 0; b < 256; ++b) {
        if (best[b] == 0) continue;
        floor = std::max(floor, best[b]);
        monotone[b] = floor;
    }
    table = CanonicalCodes(monotone);
    if (ReaderInnerNodes(table) <= kReaderInnerNodes) return table;

    CodeLengths flat{};
    for (int b = 0; b < 256; ++b)
        flat[b] = best[b] ? 8 : 0;
    return CanonicalCodes(flat);
}

} // namespace quillon::tools
