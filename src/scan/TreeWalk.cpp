#include "scan/TreeWalk.h"

#include "platform/LastAnswer.h"
#include "platform/Worker.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
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

    // The next folder to list, or nothing when every folder is done or the walk was given up.
    Node* next() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !waiting_.empty() || busy_ == 0 || abandoned_; });
        if (waiting_.empty() || abandoned_) {
            return nullptr;
        }
        Node* node = waiting_.back(); // depth first keeps the threads near each other's folders
        waiting_.pop_back();
        ++busy_;
        return node;
    }

    // Whether every folder is done, waiting no longer than `patience` for it.
    bool waitDone(std::chrono::milliseconds patience) {
        std::unique_lock lock(mutex_);
        return ready_.wait_for(lock, patience, [this] { return waiting_.empty() && busy_ == 0; });
    }

    // The listings under way are left to end on their own; no other starts.
    void abandon() {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
        ready_.notify_all();
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
    bool abandoned_ = false;
    std::optional<std::uint64_t> device_;
    std::unordered_set<FolderId, FolderIdHash> seen_;
};

// One walk's shared part: the readers hold it, and a reader that a silent drive holds past the
// walk's end finds everything it touches still there.
struct Walk {
    Walk(Os& o, NamePattern p, const std::string& root)
        : os(o), pattern(std::move(p)), tree(new Node(root)) {}
    Os& os; // lives as long as the program
    const NamePattern pattern;
    SharedWork work;
    std::unique_ptr<Node> tree;
    LastAnswer heard;
    std::atomic<std::uint64_t> listed{0};
    std::atomic<std::uint64_t> folders{0};
    std::atomic<std::uint64_t> pictures{0};
};

class Lister : public FolderVisitor {
public:
    Lister(Walk& walk, Node& node)
        : os_(walk.os), pattern_(walk.pattern), work_(walk.work), heard_(walk.heard), node_(node) {}

    bool enter(const FolderId& id) override {
        heard_.heard();
        return work_.firstVisit(id);
    }

    void entry(std::string_view name, EntryType type) override {
        heard_.heard();
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
    LastAnswer& heard_;
    Node& node_;
};

// One reader: lists folders until none is left.
void Read(Walk& walk) {
    while (Node* node = walk.work.next()) {
        Lister lister(walk, *node);
        if (!walk.os.listFolder(node->path, lister).ok()) {
            node->children.clear(); // a folder that fails part way adds nothing
            node->files.clear();
        }
        walk.heard.heard();
        walk.folders += node->children.size();
        walk.pictures += node->files.size();
        ++walk.listed;
        walk.work.finish(*node);
    }
}

} // namespace

TreeWalk::TreeWalk(Os& os, const NamePattern& pattern, ScanProgress& progress, unsigned threads,
                   std::chrono::milliseconds silence)
    : os_(os), pattern_(pattern), progress_(progress), threads_(threads == 0 ? 1 : threads),
      silence_(silence) {}

TreeWalk::Result TreeWalk::run(const std::string& root, PicTable& table) {
    const auto walk = std::make_shared<Walk>(os_, pattern_, root);
    walk->work.push(walk->tree.get());
    for (unsigned i = 0; i < threads_; ++i) {
        Worker::Start([walk] { Read(*walk); });
    }
    progress_.searching(root);
    const std::uint64_t folders = progress_.folders;
    const std::uint64_t pictures = progress_.pictures;
    const auto show = [&] {
        progress_.folders = folders + walk->listed;
        progress_.pictures = pictures + walk->pictures;
        progress_.silent(walk->heard.silentFor());
    };
    Result result;
    while (!walk->work.waitDone(std::chrono::milliseconds(50))) {
        show();
        if (walk->heard.silentFor() >= silence_) {
            walk->work.abandon();
            result.silent = true;
            return result;
        }
    }
    show();

    // Stitch: pre-order over the tree, freeing each folder as it is written out.
    result.folders = walk->folders;
    std::vector<std::unique_ptr<Node>> stack;
    stack.push_back(std::move(walk->tree));
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
