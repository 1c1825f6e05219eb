#pragma once

#include "platform/LastAnswer.h"
#include "platform/OpResult.h"
#include "platform/Window.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zelvano {

// "the drive D did not answer": what work given up on a drive reports.
OpResult NoAnswer(const std::string& drive);

// The drives that hold work the program stopped waiting for. No new work starts on such a drive
// until that work has ended, so that however often the user tries, a drive that has stopped
// answering holds no more threads than it held when it was given up.
class LeftBehind {
public:
    // Notes work left behind on `drive`; the note lasts as long as what this returns.
    static std::shared_ptr<void> Note(const std::string& drive);
    [[nodiscard]] static bool On(const std::string& drive);
};

// One piece of work on a drive, shared by the thread that does it and the window's thread that
// waits for it. The work notes each answer of the drive here; it touches its caller's things (a
// sink, a source) only while it holds `callerSide`, and the caller gives the work up only while it
// does not, so that work left behind never touches what its caller has since let go.
class DriveCall {
public:
    // Thrown on the work's thread when it reaches for its caller after the caller gave it up.
    struct GivenUp {};

    void heard() { heard_->heard(); }
    LastAnswer& answers() { return *heard_; }
    [[nodiscard]] std::shared_ptr<const LastAnswer> heardBy() const { return heard_; }

    // The caller's side, held while the work touches the caller's things; throws GivenUp once the
    // caller has given the work up. `again` takes it back after the work let it go.
    std::unique_lock<std::mutex> callerSide();
    void again(std::unique_lock<std::mutex>& side);

    // On the work's thread, when it has ended.
    void ended();
    // On the window's thread: the work is left behind on its drives until it ends.
    void giveUp(const std::vector<std::string>& drives);

private:
    std::shared_ptr<LastAnswer> heard_ = std::make_shared<LastAnswer>();
    std::mutex mutex_;
    bool givenUp_ = false;
    bool ended_ = false;
    std::vector<std::shared_ptr<void>> notes_;
};

// Runs `work` on `drives` (one, or two for a copy) off the window's thread, under the rule of every wait for
// a drive (see Wait): the window keeps painting and takes Exit, a wait window names the drive after a short
// while and offers Cancel, and work whose drive says nothing for `patience` is given up and left behind
// (LeftBehind). A drive that holds work left behind already is not asked again. NoAnswer when the
// work was given up or never started; what else `work` throws is thrown here.
OpResult OnDrive(Window& win, const std::vector<std::string>& drives, std::chrono::milliseconds patience,
                 const std::function<void(DriveCall& call)>& work);

} // namespace zelvano
