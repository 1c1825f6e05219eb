#pragma once

#include "state/PicTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zelvano {

// One folder of a walk: its findings, and its place in the order of a one-thread walk. The tree of
// them is stitched back into that order at the end.
struct Node {
    Node(std::string p, Node* up, std::uint32_t at) : path(std::move(p)), parent(up), index(at) {}
    std::string path; // with its trailing separator
    Node* parent;
    std::uint32_t index; // among its parent's subfolders
    // The same folder is met on a path that a one-thread walk takes first: this one is dropped.
    bool yielded = false;
    std::vector<std::string> files;
    std::vector<std::unique_ptr<Node>> children;
};

// Whether a one-thread walk of their tree meets `a` before `b`.
bool Before(const Node& a, const Node& b);

// Whether `node`, or a folder it lies in, has given way.
bool UnderYielded(const Node& node);

// Appends the records of a tree to `table` in walk order, leaving out what gave way, and frees each
// folder as it goes. `files` grows by the records appended; false when the table became full.
bool Stitch(std::unique_ptr<Node> tree, PicTable& table, std::uint64_t& files);

} // namespace zelvano
