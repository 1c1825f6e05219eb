#include "scan/TreeWalk.h"

#include "platform/DriveWait.h"
#include "platform/ScopeExit.h"
#include "platform/Worker.h"
#include "scan/WalkTree.h"

#include <condition_variable>
#include <filesystem>
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
    bool behind = false;              // it holds an earlier walk's listings: not asked till they end

    // Whether it is being asked, or waited for: its silence counts then.
    [[nodiscard]] bool asked() const { return inFlight > 0 || behind; }

    // Whether a link at `path` leads to a file of this drive by its text: inside the root, and not
    // where another drive is mounted. Only such a link is followed; one to another drive is left to
    // that drive's own search, and a drive that has stopped answering holds only itself.
    [[nodiscard]] bool leadsHere(const std::string& path, const std::string& target, char separator) const {
        if (target.empty()) {
            return true; // the system does not say
        }
        std::string to =
            target.front() == separator ? target : path.substr(0, path.rfind(separator) + 1) + target;
        to = std::filesystem::path(to).lexically_normal().string();
        if (to.compare(0, root.size(), root) != 0) {
            return false;
        }
        for (std::size_t at = to.find(separator, root.size()); at != std::string::npos;
             at = to.find(separator, at + 1)) {
            if (others.count(to.substr(0, at + 1)) != 0) {
                return false;
            }
        }
        return true;
    }
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
    std::uint64_t foldersBefore = 0; // the progress's counts when the walk began
    std::uint64_t picturesBefore = 0;

    [[nodiscard]] bool held(const Part& p) const { return p.inFlight > 0 && p.heard.silentFor() >= hold; }

    // Whether a drive may be asked: one that holds an earlier walk's listings is not, until they end.
    static bool free(Part& p) {
        if (p.behind && !LeftBehind::On(p.root)) {
            p.behind = false;
        }
        return !p.behind;
    }

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
                p->inFlight < perDrive && !held(*p) && free(*p) && (!best || p->inFlight < best->inFlight)) {
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
        if (p->state == State::Walking && !walk->held(*p) && Walk::free(*p)) {
            busy +=
                std::min<unsigned>(walk->perDrive, p->inFlight + static_cast<unsigned>(p->waiting.size()));
        }
    }
    for (const unsigned wanted = std::min(busy, walk->inAll) + walk->stuck(); walk->readers < wanted;) {
        ++walk->readers;
        try {
            Worker::Start([walk] { Read(walk); });
        } catch (...) { // no thread to be had: the readers there are go on, if there are any
            if (--walk->readers == 0) {
                throw;
            }
            return;
        }
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
        case EntryType::Link: // recorded when it leads to a file of this drive; never entered
            if (const std::string path = node_.path + std::string(name);
                walk_.pattern.matches(name) &&
                part_.leadsHere(path, walk_.os.linkTarget(path), walk_.os.separator()) &&
                walk_.os.typeOf(path, true) == EntryType::File) {
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
        bool listed = !wanted;
        try {
            listed = listed || walk->os.listFolder(node->path, lister).ok();
        } catch (...) { // memory ran out for its names: as a folder that could not be listed
        }
        if (!listed) {
            node->children.clear(); // a folder that fails part way adds nothing
            node->files.clear();
        }
        part->heard.heard();
        lock.lock();
        Finish(walk, *part, *node);
    }
    --walk->readers;
}

// Gives up each drive that has said nothing for `silence` while it was asked, and tells the progress.
// Whether any drive is still walked. Under the lock.
bool Supervise(Walk& walk, ScanProgress& progress, std::chrono::milliseconds silence) {
    std::uint64_t listed = 0;
    std::uint64_t found = 0;
    std::vector<ScanProgress::Drive> searching;
    for (const auto& p : walk.parts) {
        if (p->state == State::Walking && p->asked() && p->heard.silentFor() >= silence) {
            p->state = State::GivenUp;
            p->waiting.clear();
            if (p->inFlight > 0) {
                p->leftBehind = LeftBehind::Note(p->root);
            }
        }
        listed += p->listed;
        found += p->pictures;
        if (p->state == State::Walking) {
            searching.push_back({p->root, p->asked() ? p->heard.silentFor() : std::chrono::milliseconds(0)});
        }
    }
    progress.folders = walk.foldersBefore + listed;
    progress.pictures = walk.picturesBefore + found;
    const bool walking = !searching.empty();
    progress.searching(std::move(searching));
    return walking;
}

// What a drive's walk left: its tree when it was walked whole. Under the lock.
struct Settled {
    bool silent = false;
    std::uint64_t folders = 0;
    std::unique_ptr<Node> tree;
};

std::vector<Settled> Settle(Walk& walk) {
    std::vector<Settled> settled;
    for (const auto& p : walk.parts) {
        // Listings still under way when the walk ends (the user cancelled) are left behind: the
        // drive is not asked again until they end.
        if (p->state == State::Walking && p->inFlight > 0) {
            p->state = State::GivenUp;
            p->leftBehind = LeftBehind::Note(p->root);
        }
        Settled& s = settled.emplace_back();
        s.silent = p->state == State::GivenUp;
        if (p->state == State::Done) { // a walk dropped part way records nothing
            s.folders = p->folders;
            s.tree = std::move(p->tree);
        }
    }
    return settled;
}

} // namespace

TreeWalk::TreeWalk(Os& os, const NamePattern& pattern, ScanProgress& progress, unsigned threads,
                   std::chrono::milliseconds silence)
    : os_(os), pattern_(pattern), progress_(progress), threads_(threads == 0 ? 1 : threads),
      silence_(silence) {}

std::vector<TreeWalk::Result> TreeWalk::run(const std::vector<std::string>& roots, PicTable& table,
                                            bool& tableFull, const std::atomic<bool>* dropped) {
    const auto walk = std::make_shared<Walk>(os_, pattern_, threads_, silence_);
    walk->foldersBefore = progress_.folders;
    walk->picturesBefore = progress_.pictures;
    for (const std::string& root : roots) {
        auto part = std::make_shared<Part>(root, os_.otherDrivesWithin(root));
        part->behind = LeftBehind::On(root);
        part->waiting.push_back(part->tree.get());
        walk->parts.push_back(std::move(part));
    }
    std::vector<Settled> settled;
    {
        std::unique_lock lock(walk->mutex);
        // However the walk ends, its readers leave.
        const ScopeExit over([&walk] {
            walk->over = true;
            walk->ready.notify_all();
        });
        while (Supervise(*walk, progress_, silence_) && (dropped == nullptr || !*dropped)) {
            Staff(walk);
            walk->settled.wait_for(lock, std::chrono::milliseconds(50));
        }
        settled = Settle(*walk);
    }
    std::vector<Result> results;
    for (Settled& s : settled) {
        Result& r = results.emplace_back();
        r.firstRow = table.count();
        r.silent = s.silent;
        if (s.tree && !tableFull) {
            r.folders = s.folders;
            tableFull = !Stitch(std::move(s.tree), table, r.files);
        }
    }
    return results;
}

} // namespace zelvano
