#include "platform/OffThreadOs.h"

#include "platform/DriveWait.h"

#include <memory>

namespace zelvano {

template <class Work> OpResult OffThreadOs::on(const std::string& path, const std::string& other, Work work) {
    std::vector<std::string> drives = {system_.driveOf(path)};
    if (!other.empty()) {
        if (std::string second = system_.driveOf(other); second != drives.front()) {
            drives.push_back(std::move(second));
        }
    }
    Os& system = system_.direct();
    return OnDrive(win_, drives, patience_, [&system, work](DriveCall& call) { work(system, call); });
}

template <class Op> OpResult OffThreadOs::result(const std::string& path, const std::string& other, Op op) {
    // Kept by the work too: work left behind still has somewhere to put what it reports.
    const auto reported = std::make_shared<OpResult>();
    const OpResult waited =
        on(path, other, [reported, op](Os& os, DriveCall& call) { *reported = op(os, call); });
    return waited.ok() ? *reported : waited;
}

Presence OffThreadOs::fileExists(const std::string& path) {
    const auto found = std::make_shared<Presence>(Presence::Unknown);
    on(path, {}, [found, path](Os& os, DriveCall& /*call*/) { *found = os.fileExists(path); });
    return *found;
}

bool OffThreadOs::sameFile(const std::string& a, const std::string& b) {
    const auto same = std::make_shared<bool>(false);
    on(a, b, [same, a, b](Os& os, DriveCall& /*call*/) { *same = os.sameFile(a, b); });
    return *same;
}

OpResult OffThreadOs::setArchiveOnly(const std::string& path) {
    return result(path, {}, [path](Os& os, DriveCall& /*call*/) { return os.setArchiveOnly(path); });
}

OpResult OffThreadOs::deleteFile(const std::string& path) {
    return result(path, {}, [path](Os& os, DriveCall& /*call*/) { return os.deleteFile(path); });
}

OpResult OffThreadOs::renameFile(const std::string& from, const std::string& to, bool replace) {
    return result(from, to, [from, to, replace](Os& os, DriveCall& /*call*/) {
        return os.renameFile(from, to, replace);
    });
}

OpResult OffThreadOs::copyFile(const std::string& from, const std::string& to, bool replace,
                               LastAnswer* /*heard*/) {
    // A large picture copied to or from a slow drive that keeps taking it is waited for.
    return result(from, to, [from, to, replace](Os& os, DriveCall& call) {
        return os.copyFile(from, to, replace, &call.answers());
    });
}

OpResult OffThreadOs::readFile(const std::string& path, const ContentSink& sink) {
    const ContentSink* caller = &sink; // touched only while the caller waits (DriveCall)
    return result(path, {}, [path, caller](Os& os, DriveCall& call) {
        return os.readFile(path, [&call, caller](std::string_view piece) {
            call.heard();
            const auto side = call.callerSide();
            (*caller)(piece);
        });
    });
}

OpResult OffThreadOs::readPart(const std::string& path, std::size_t count, std::string& part,
                               OpResult (Os::*read)(const std::string&, std::size_t, std::string&)) {
    const auto got = std::make_shared<std::string>();
    const OpResult outcome = result(path, {}, [path, count, got, read](Os& os, DriveCall& /*call*/) {
        return (os.*read)(path, count, *got);
    });
    part = outcome.ok() ? *got : std::string();
    return outcome;
}

OpResult OffThreadOs::readFileStart(const std::string& path, std::size_t count, std::string& start) {
    return readPart(path, count, start, &Os::readFileStart);
}

OpResult OffThreadOs::readFileEnd(const std::string& path, std::size_t count, std::string& end) {
    return readPart(path, count, end, &Os::readFileEnd);
}

OpResult OffThreadOs::replaceFile(const std::string& path, const ContentSource& content) {
    const ContentSource* caller = &content; // touched only while the caller waits (DriveCall)
    return result(path, {}, [path, caller](Os& os, DriveCall& call) {
        return os.replaceFile(path, [&](const ContentSink& put) {
            auto side = call.callerSide(); // the content is the caller's, given out piece by piece
            (*caller)([&](std::string_view piece) {
                const std::string own(piece); // the piece may be the caller's, which it may let go
                side.unlock();                // while the drive takes it, the caller may give up
                put(own);
                call.heard();
                call.again(side);
            });
        });
    });
}

OpResult OffThreadOs::appendToFile(const std::string& path, std::string_view content) {
    return result(path, {}, [path, text = std::string(content)](Os& os, DriveCall& /*call*/) {
        return os.appendToFile(path, text);
    });
}

} // namespace zelvano
