#include "platform/Os.h"

namespace zelvano {

namespace {

// The old content could not be read to the end: nothing of the copy may take the file's place.
struct ReadStopped {
    OpResult result;
};

} // namespace

OpResult Os::appendToFile(const std::string& path, std::string_view content) {
    // An append in place leaves part of the record behind when the disk fills, the drive stops
    // answering or the program is killed, and the next record is then read paired with that
    // part. A copy written beside the file and put in its place is whole or not there.
    try {
        return replaceFile(path, [&](const ContentSink& put) {
            // A file that is not there yet is made with the record alone.
            if (const OpResult read = readFile(path, put); !read.ok() && read.failure != Failure::NotFound) {
                throw ReadStopped{read};
            }
            put(content);
        });
    } catch (const ReadStopped& stopped) {
        return stopped.result;
    }
}

} // namespace zelvano
