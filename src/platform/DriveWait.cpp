#include "platform/DriveWait.h"

#include "platform/ScopeExit.h"

#include <map>

namespace zelvano {

namespace {

std::mutex g_mutex;
std::map<std::string, int, std::less<>> g_leftBehind; // the count of pieces of work, by drive

// A copy from one drive to another waits on both: "D1 or D2".
std::string EitherDrive(const std::vector<std::string>& drives) {
    std::string named;
    for (const std::string& drive : drives) {
        named += (named.empty() ? "" : " or ") + drive;
    }
    return named;
}

} // namespace

OpResult NoAnswer(const std::string& drive) {
    return OpResult::fail(Failure::Other, "the drive " + drive + " did not answer");
}

std::shared_ptr<void> LeftBehind::Note(const std::string& drive) {
    const std::lock_guard lock(g_mutex);
    ++g_leftBehind[drive];
    return {nullptr, [drive](void*) {
                const std::lock_guard unnote(g_mutex);
                if (const auto it = g_leftBehind.find(drive); it != g_leftBehind.end() && --it->second == 0) {
                    g_leftBehind.erase(it);
                }
            }};
}

bool LeftBehind::On(const std::string& drive) {
    const std::lock_guard lock(g_mutex);
    return g_leftBehind.count(drive) != 0;
}

std::unique_lock<std::mutex> DriveCall::callerSide() {
    std::unique_lock side(mutex_);
    if (givenUp_) {
        throw GivenUp{};
    }
    return side;
}

void DriveCall::again(std::unique_lock<std::mutex>& side) {
    side.lock();
    if (givenUp_) {
        throw GivenUp{};
    }
}

void DriveCall::ended() {
    const std::lock_guard lock(mutex_);
    ended_ = true;
    notes_.clear();
}

void DriveCall::giveUp(const std::vector<std::string>& drives) {
    const std::lock_guard lock(mutex_);
    givenUp_ = true;
    for (const std::string& drive : drives) {
        if (!ended_) {
            notes_.push_back(LeftBehind::Note(drive));
        }
    }
}

OpResult OnDrive(Window& win, const std::vector<std::string>& drives, std::chrono::milliseconds patience,
                 const std::function<void(DriveCall& call)>& work) {
    for (const std::string& drive : drives) {
        if (LeftBehind::On(drive)) {
            return NoAnswer(drive);
        }
    }
    const std::string drive = EitherDrive(drives);
    const auto call = std::make_shared<DriveCall>();
    // Given up however the wait ends but done, a failure of the window's own too.
    Ending ending = Ending::Cancelled;
    const ScopeExit giveUp([&] {
        if (ending != Ending::Done) {
            call->giveUp(drives);
        }
    });
    ending = win.runWhilePainting(
        [call, work] {
            const ScopeExit end([&call] { call->ended(); });
            try {
                work(*call);
            } catch (const DriveCall::GivenUp&) {
                // its caller has gone: nothing of it is wanted
            }
        },
        {}, Wait::OnDrive(drive, patience, call->heardBy()));
    return ending == Ending::Done ? OpResult::success() : NoAnswer(drive);
}

} // namespace zelvano
