#include "scan/TreeWalk.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_set>
#include <vector>

namespace zelvano {

namespace {

// One folder's results; the tree of them is stitched back into walk order at the end.
struct Node {
    explicit Node(std::string p) : path(std::move(p)) {}
    std::string path; // with its trailing separator
    std::vector<std::string> files;
    std::vector<std::unique_ptr<Node>> children;
};

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const {
        return std::hash<std::uint64_t>()(id.inode * 31 + id.device);
    }
};

// The work shared by the threads: folders waiting to be listed, and the folders seen so far.
class SharedWork {
public:
    void push(Node* node) {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(node);
    }

    // Pushes a listed folder's subfolders (the first one on top) and ends its turn.
    void finish(Node& node) {
        const std::lock_guard lock(mutex_);
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
            waiting_.push_back(child->get());
        }
        --busy_;
        if (!node.children.empty() || busy_ == 0) {
            ready_.notify_all();
        }
    }

    // The next folder to list, or nothing when every folder is done.
    Node* next() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !waiting_.empty() || busy_ == 0; });
        if (waiting_.empty()) {
            return nullptr;
        }
        Node* node = waiting_.back(); // depth first keeps the threads near each other's folders
        waiting_.pop_back();
        ++busy_;
        return node;
    }

    // True the first time a folder is seen on the walk's volume.
    bool firstVisit(const FolderId& id) {
        const std::lock_guard lock(mutex_);
        if (!device_) {
            device_ = id.device; // the root's volume
        }
        return id.device == *device_ && seen_.insert(id).second;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<Node*> waiting_;
    unsigned busy_ = 0;
    std::optional<std::uint64_t> device_;
    std::unordered_set<FolderId, FolderIdHash> seen_;
};

class Lister : public FolderVisitor {
public:
    Lister(Os& os, const NamePattern& pattern, SharedWork& work, Node& node)
        : os_(os), pattern_(pattern), work_(work), node_(node) {}

    bool enter(const FolderId& id) override { return work_.firstVisit(id); }

    void entry(std::string_view name, EntryType type) override {
        if (name.find('\r') != std::string_view::npos) {
            return;
        }
        switch (type) {
        case EntryType::Folder:
            node_.children.push_back(
                std::make_unique<Node>(node_.path + std::string(name) + os_.separator()));
            break;
        case EntryType::File:
            if (pattern_.matches(name)) {
                node_.files.emplace_back(name);
            }
            break;
        case EntryType::Link: // recorded when it leads to a file; never entered
            if (pattern_.matches(name) &&
                os_.typeOf(node_.path + std::string(name), true) == EntryType::File) {
                node_.files.emplace_back(name);
            }
            break;
        case EntryType::Unknown:
            if (const EntryType real = os_.typeOf(node_.path + std::string(name), false);
                real != EntryType::Unknown) {
                entry(name, real);
            }
            break;
        case EntryType::Other:
            break;
        }
    }

private:
    Os& os_;
    const NamePattern& pattern_;
    SharedWork& work_;
    Node& node_;
};

} // namespace

TreeWalk::TreeWalk(Os& os, const NamePattern& pattern, ScanProgress& progress, unsigned threads)
    : os_(os), pattern_(pattern), progress_(progress), threads_(threads == 0 ? 1 : threads) {}

TreeWalk::Result TreeWalk::run(const std::string& root, PicTable& table) {
    auto tree = std::make_unique<Node>(root);
    SharedWork work;
    work.push(tree.get());
    std::atomic<std::uint64_t> folders{0};
    const auto listAll = [&] {
        while (Node* node = work.next()) {
            Lister lister(os_, pattern_, work, *node);
            if (!os_.listFolder(node->path, lister).ok()) {
                node->children.clear(); // a folder that fails part way adds nothing
                node->files.clear();
            }
            folders += node->children.size();
            progress_.folders += 1;
            progress_.pictures += node->files.size();
            work.finish(*node);
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < threads_; ++i) {
        helpers.emplace_back(listAll);
    }
    listAll();
    for (auto& t : helpers) {
        t.join();
    }

    // Stitch: pre-order over the tree, freeing each folder as it is written out.
    Result result;
    result.folders = folders;
    std::vector<std::unique_ptr<Node>> stack;
    stack.push_back(std::move(tree));
    while (!stack.empty()) {
        const std::unique_ptr<Node> node = std::move(stack.back());
        stack.pop_back();
        for (const std::string& name : node->files) {
            if (!table.append(node->path, name)) {
                result.tableFull = true;
                return result;
            }
            ++result.files;
        }
        for (auto child = node->children.rbegin(); child != node->children.rend(); ++child) {
            stack.push_back(std::move(*child));
        }
    }
    return result;
}

} // namespace zelvano
