#include "scan/WalkTree.h"

#include <algorithm>

namespace zelvano {

namespace {

// The places of a node's folders from the root down.
std::vector<std::uint32_t> Places(const Node& node) {
    std::vector<std::uint32_t> places;
    for (const Node* n = &node; n->parent != nullptr; n = n->parent) {
        places.push_back(n->index);
    }
    std::reverse(places.begin(), places.end());
    return places;
}

} // namespace

bool Before(const Node& a, const Node& b) {
    const std::vector<std::uint32_t> pa = Places(a);
    const std::vector<std::uint32_t> pb = Places(b);
    return std::lexicographical_compare(pa.begin(), pa.end(), pb.begin(), pb.end());
}

bool UnderYielded(const Node& node) {
    for (const Node* n = &node; n != nullptr; n = n->parent) {
        if (n->yielded) {
            return true;
        }
    }
    return false;
}

bool Stitch(std::unique_ptr<Node> tree, PicTable& table, std::uint64_t& files) {
    std::vector<std::unique_ptr<Node>> stack;
    stack.push_back(std::move(tree));
    while (!stack.empty()) {
        const std::unique_ptr<Node> node = std::move(stack.back());
        stack.pop_back();
        if (node->yielded) {
            continue;
        }
        for (const std::string& name : node->files) {
            if (!table.append(node->path, name)) {
                return false;
            }
            ++files;
        }
        for (auto child = node->children.rbegin(); child != node->children.rend(); ++child) {
            stack.push_back(std::move(*child));
        }
    }
    return true;
}

} // namespace zelvano
