#include "scan/TreeWalk.h"

#include "platform/DriveWait.h"
#include "platform/Worker.h"
#include "scan/WalkTree.h"

#include <condition_variable>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace zelvano {

namespace {

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const {
        return std::hash<std::uint64_t>()(id.inode * 31 + id.device);
    }
};

enum class State { Walking, Done, GivenUp };

// One drive's part of the walk. Readers that list its folders hold it, so that one a silent drive
// holds past the walk's end finds everything it touches still there.
struct Part {
    Part(const std::string& r, std::vector<std::string> mounted)
        : root(r), others(mounted.begin(), mounted.end()), tree(std::make_unique<Node>(r, nullptr, 0)) {}
    const std::string root;
    const std::unordered_set<std::string> others; // other drives mounted inside: never opened
    std::unique_ptr<Node> tree;
    LastAnswer heard;
    // The rest is the walk's to change, under its lock.
    State state = State::Walking;
    std::vector<Node*> waiting; // to list, the next on top: depth first keeps listings near each other
    unsigned inFlight = 0;
    std::optional<std::uint64_t> device;                   // the root's
    std::unordered_map<FolderId, Node*, FolderIdHash> met; // each folder where the walk has it
    std::uint64_t listed = 0;
    std::uint64_t folders = 0;
    std::uint64_t pictures = 0;
    std::shared_ptr<void> leftBehind; // while listings given up on are under way
};

// What the walk's own thread and its readers share.
struct Walk {
    Walk(Os& o, const NamePattern& p, unsigned d, std::chrono::milliseconds silence)
        : os(o), pattern(p), perDrive(d), inAll(d * (kListingsInAll / kListingsInFlight)),
          hold(silence / 15) {}
    Os& os; // lives as long as the program
    const NamePattern pattern;
    const unsigned perDrive;
    const unsigned inAll;
    // A drive that has said nothing this long while asked gets no more listings until it answers,
    // and those it holds no longer count: other readers take their place for the other drives.
    const std::chrono::milliseconds hold;
    std::mutex mutex;
    std::condition_variable ready;   // a reader may have a folder to list
    std::condition_variable settled; // a drive is done
    std::vector<std::shared_ptr<Part>> parts;
    unsigned readers = 0;
    bool over = false;

    [[nodiscard]] bool held(const Part& p) const { return p.inFlight > 0 && p.heard.silentFor() >= hold; }

    // Listings that a silent drive holds, or that were given up on.
    [[nodiscard]] unsigned stuck() const {
        unsigned n = 0;
        for (const auto& p : parts) {
            n += p->state == State::GivenUp || held(*p) ? p->inFlight : 0;
        }
        return n;
    }

    // The drive whose folder is listed next: of those that may take one more listing, the one with
    // the fewest under way.
    std::shared_ptr<Part> next() {
        unsigned active = 0;
        for (const auto& p : parts) {
            active += p->state == State::Walking && !held(*p) ? p->inFlight : 0;
        }
        std::shared_ptr<Part> best;
        for (const auto& p : parts) {
            if (active < inAll && p->state == State::Walking && !p->waiting.empty() &&
                p->inFlight < perDrive && !held(*p) && (!best || p->inFlight < best->inFlight)) {
                best = p;
            }
        }
        return best;
    }

    // True the first time the walk meets a folder on its drive's volume, or when it meets it again
    // on a path that a one-thread walk takes first: the path met before then gives way.
    bool firstMeeting(Part& part, Node& node, const FolderId& id) {
        const std::lock_guard lock(mutex);
        if (!part.device) {
            part.device = id.device;
        }
        if (id.device != *part.device) {
            return false;
        }
        const auto [at, fresh] = part.met.try_emplace(id, &node);
        if (fresh) {
            return true;
        }
        if (!Before(node, *at->second)) {
            return false;
        }
        at->second->yielded = true;
        at->second = &node;
        return true;
    }
};

void Read(const std::shared_ptr<Walk>& walk);

// Starts readers until there are as many as listings could be under way, besides those a silent
// drive holds. Under the lock.
void Staff(const std::shared_ptr<Walk>& walk) {
    unsigned busy = 0;
    for (const auto& p : walk->parts) {
        if (p->state == State::Walking && !walk->held(*p)) {
            busy +=
                std::min<unsigned>(walk->perDrive, p->inFlight + static_cast<unsigned>(p->waiting.size()));
        }
    }
    for (const unsigned wanted = std::min(busy, walk->inAll) + walk->stuck(); walk->readers < wanted;) {
        ++walk->readers;
        Worker::Start([walk] { Read(walk); });
    }
}

class Lister : public FolderVisitor {
public:
    Lister(Walk& walk, Part& part, Node& node) : walk_(walk), part_(part), node_(node) {}

    bool enter(const FolderId& id) override {
        part_.heard.heard();
        return walk_.firstMeeting(part_, node_, id);
    }

    void entry(std::string_view name, EntryType type) override {
        part_.heard.heard();
        if (name.find('\r') != std::string_view::npos) {
            return;
        }
        switch (type) {
        case EntryType::Folder:
            if (std::string path = node_.path + std::string(name) + walk_.os.separator();
                part_.others.count(path) == 0) {
                const auto index = static_cast<std::uint32_t>(node_.children.size());
                node_.children.push_back(std::make_unique<Node>(std::move(path), &node_, index));
            }
            break;
        case EntryType::File:
            if (walk_.pattern.matches(name)) {
                node_.files.emplace_back(name);
            }
            break;
        case EntryType::Link: // recorded when it leads to a file; never entered
            if (walk_.pattern.matches(name) &&
                walk_.os.typeOf(node_.path + std::string(name), true) == EntryType::File) {
                node_.files.emplace_back(name);
            }
            break;
        case EntryType::Unknown: // asked about, unless it is where another drive is mounted
            if (const std::string path = node_.path + std::string(name);
                part_.others.count(path + walk_.os.separator()) == 0) {
                if (const EntryType real = walk_.os.typeOf(path, false); real != EntryType::Unknown) {
                    entry(name, real);
                }
            }
            break;
        case EntryType::Other:
            break;
        }
    }

private:
    Walk& walk_;
    Part& part_;
    Node& node_;
};

// A listing has ended: its subfolders wait their turn. Under the lock.
void Finish(const std::shared_ptr<Walk>& walk, Part& part, Node& node) {
    --part.inFlight;
    ++part.listed;
    part.folders += node.children.size();
    part.pictures += node.files.size();
    if (part.state == State::Walking) {
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
            part.waiting.push_back(child->get());
            walk->ready.notify_one();
        }
        if (part.waiting.empty() && part.inFlight == 0) {
            part.state = State::Done;
            walk->settled.notify_all();
        }
    } else if (part.state == State::GivenUp && part.inFlight == 0) {
        part.leftBehind.reset(); // the drive answers again
    }
    Staff(walk);
}

// One reader: lists folders until the walk is over, or it is one more than the walk needs.
void Read(const std::shared_ptr<Walk>& walk) {
    Worker::YieldToOthers();
    std::unique_lock lock(walk->mutex);
    while (!walk->over && walk->readers <= walk->inAll + walk->stuck()) {
        const std::shared_ptr<Part> part = walk->next();
        if (!part) {
            // Woken for a new folder; now and then too, as a drive that was silent may answer.
            walk->ready.wait_for(lock, std::chrono::milliseconds(50));
            continue;
        }
        Node* node = part->waiting.back();
        part->waiting.pop_back();
        if (part->inFlight++ == 0) {
            part->heard.heard(); // its silence counts from now, when it is asked
        }
        const bool wanted = !UnderYielded(*node);
        lock.unlock();
        Lister lister(*walk, *part, *node);
        if (wanted && !walk->os.listFolder(node->path, lister).ok()) {
            node->children.clear(); // a folder that fails part way adds nothing
            node->files.clear();
        }
        part->heard.heard();
        lock.lock();
        Finish(walk, *part, *node);
    }
    --walk->readers;
}

} // namespace

TreeWalk::TreeWalk(Os& os, const NamePattern& pattern, ScanProgress& progress, unsigned threads,
                   std::chrono::milliseconds silence)
    : os_(os), pattern_(pattern), progress_(progress), threads_(threads == 0 ? 1 : threads),
      silence_(silence) {}

std::vector<TreeWalk::Result> TreeWalk::run(const std::vector<std::string>& roots, PicTable& table,
                                            bool& tableFull, const std::atomic<bool>* dropped) {
    const auto walk = std::make_shared<Walk>(os_, pattern_, threads_, silence_);
    for (const std::string& root : roots) {
        auto part = std::make_shared<Part>(root, os_.otherDrivesWithin(root));
        if (LeftBehind::On(root)) {
            part->state = State::GivenUp; // it holds what an earlier try left: not asked again
        } else {
            part->waiting.push_back(part->tree.get());
        }
        walk->parts.push_back(std::move(part));
    }
    const std::uint64_t folders = progress_.folders;
    const std::uint64_t pictures = progress_.pictures;
    std::unique_lock lock(walk->mutex);
    for (;;) {
        Staff(walk);
        std::uint64_t listed = 0;
        std::uint64_t found = 0;
        std::vector<ScanProgress::Drive> searching;
        bool walking = false;
        for (const auto& p : walk->parts) {
            if (p->state == State::Walking && p->inFlight > 0 && p->heard.silentFor() >= silence_) {
                p->state = State::GivenUp;
                p->waiting.clear();
                p->leftBehind = LeftBehind::Note(p->root);
            }
            listed += p->listed;
            found += p->pictures;
            if (p->state == State::Walking) {
                walking = true;
                searching.push_back(
                    {p->root, p->inFlight > 0 ? p->heard.silentFor() : std::chrono::milliseconds(0)});
            }
        }
        progress_.folders = folders + listed;
        progress_.pictures = pictures + found;
        progress_.searching(std::move(searching));
        if (!walking || (dropped != nullptr && *dropped)) {
            break;
        }
        walk->settled.wait_for(lock, std::chrono::milliseconds(50));
    }
    walk->over = true;
    // Listings still under way on a drive that said nothing for a while were left on a drive that
    // has stopped answering, most likely: it is not asked again until they end.
    for (const auto& p : walk->parts) {
        if (p->state == State::Walking && walk->held(*p)) {
            p->state = State::GivenUp;
            p->waiting.clear();
            p->leftBehind = LeftBehind::Note(p->root);
        }
    }
    walk->ready.notify_all();
    lock.unlock();

    std::vector<Result> results;
    for (const auto& p : walk->parts) {
        Result& r = results.emplace_back();
        r.firstRow = table.count();
        r.silent = p->state == State::GivenUp;
        if (p->state == State::Done && !tableFull) { // a walk dropped part way records nothing
            r.folders = p->folders;
            tableFull = !Stitch(std::move(p->tree), table, r.files);
        }
    }
    return results;
}

} // namespace zelvano
