// Prefix codes for the dictionary's bit streams.
//
// Code lengths come from package-merge, which gives the cheapest code whose
// lengths stay within a limit (32 bits: a code is stored in a u32). Plain
// Huffman is kept beside it as the reference: without a binding limit the two
// must cost the same.
//
// The reader rebuilds the decode tree with room for 255 inner nodes, creating
// both children of every node a code passes through, in byte order. A leaf
// that lands where an earlier code already made an inner node wastes that
// node, so a code table is only accepted after counting the nodes exactly as
// the reader will (ReaderInnerNodes). When the cheapest assignment does not
// fit, lengths that never decrease in byte order are tried (no leaf then lands
// on a made node, since each node's leaf comes before its sibling subtree;
// only the unused code space along the right edge costs nodes), and last the
// plain 8-bit code, which fits by construction.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace quillon::tools {

constexpr unsigned kMaxCodeLength = 32;
constexpr unsigned kReaderInnerNodes = 255;

// One code length per byte value (0 = the byte has no code). A byte gets a
// code when its weight is above zero.
using CodeLengths = std::array<std::uint8_t, 256>;
using Weights = std::array<std::uint64_t, 256>;

struct CodeTable {
    CodeLengths length{};
    std::array<std::uint32_t, 256> code{}; // in the low `length` bits
};

// Cheapest lengths not above maxLength (2^maxLength must hold every symbol).
CodeLengths LimitedLengths(const Weights& weights, unsigned maxLength = kMaxCodeLength);
// Unlimited Huffman lengths, the reference.
CodeLengths HuffmanLengths(const Weights& weights);
// Canonical codes: shorter first, equal lengths in byte order.
CodeTable CanonicalCodes(const CodeLengths& lengths);
// Inner nodes (root included) the reader's tree construction uses.
unsigned ReaderInnerNodes(const CodeTable& table);
// The code the writer uses: the cheapest of the three candidates that fits.
CodeTable ChooseCodes(const Weights& weights);

std::uint64_t CodeCost(const CodeLengths& lengths, const Weights& weights);

} // namespace quillon::tools
