#include "platform/qt/PrintQueue.h"

#include <cups/cups.h>
#include <string_view>

namespace zelvano {

namespace {

constexpr std::string_view kStopped = "5"; // the printer-state of a stopped queue

} // namespace

std::string QueueRefuses(const std::string& printer) {
    cups_dest_t* dest = ::cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.c_str(), nullptr);
    if (dest == nullptr) {
        return {}; // not one of the print system's queues: the print itself tells
    }
    const char* accepting = ::cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const char* state = ::cupsGetOption("printer-state", dest->num_options, dest->options);
    std::string why;
    if (accepting != nullptr && std::string_view(accepting) == "false") {
        why = "the printer " + printer + " takes no jobs now";
    } else if (state != nullptr && std::string_view(state) == kStopped) {
        why = "the printer " + printer + " is stopped";
    }
    ::cupsFreeDests(1, dest);
    return why;
}

} // namespace zelvano
