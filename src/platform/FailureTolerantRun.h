#pragma once

#include "platform/OpResult.h"

namespace zelvano {

// A handler's failure-tolerant run: each step reports its outcome here and the run goes on.
// The most recent failure is remembered until the run ends; a later success does not clear it.
class FailureTolerantRun {
public:
    // Records the outcome of one step and passes it back, so a step can be written inline.
    const OpResult& step(const OpResult& result) {
        if (!result.ok()) {
            last_ = result;
        }
        return result;
    }
    [[nodiscard]] Failure lastFailure() const { return last_.failure; }

private:
    OpResult last_;
};

} // namespace zelvano
