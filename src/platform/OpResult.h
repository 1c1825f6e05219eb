#pragma once

#include <string>

namespace zelvano {

// The failure kinds the handlers tell apart; everything else is Other.
enum class Failure {
    None,
    NotFound,    // the file is gone from a folder that is there (see FileNotFound)
    AccessError, // write protection, access refused, read-only medium
    NotAPicture, // the file exists but the picture loader cannot read it
    Other,       // anything else: a folder where a file was expected, an I/O error, ...
};

// Outcome of one operation on a file: the failure kind and a reason a person can read.
struct OpResult {
    Failure failure = Failure::None;
    std::string reason;

    [[nodiscard]] bool ok() const { return failure == Failure::None; }
    static OpResult success() { return {}; }
    static OpResult fail(Failure kind, std::string why) { return {kind, std::move(why)}; }
};

} // namespace zelvano
