#pragma once

#include <string>

namespace zelvano {

// Why the print system's queue of that name would not print a job now (it is stopped, or takes
// no jobs); empty when it would. A job sent to it would be refused, or wait unseen for as long as
// the queue is stopped, and the user would not know that nothing came out.
std::string QueueRefuses(const std::string& printer);

} // namespace zelvano
