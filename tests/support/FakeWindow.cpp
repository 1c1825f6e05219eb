#include "support/FakeWindow.h"

#include "platform/NativeOs.h"
#include "platform/PictureSignature.h"
#include "platform/Worker.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace zelvano::test {

std::vector<std::string> FakeWindow::shown(const std::string& kind) const {
    std::vector<std::string> out;
    const std::string prefix = kind + ":";
    for (const auto& line : journal) {
        if (line.rfind(prefix, 0) == 0) {
            out.push_back(line.substr(prefix.size()));
        }
    }
    return out;
}

OpResult FakeWindow::showPreview(const std::string& path) {
    preview = path;
    if (path.empty()) {
        return OpResult::success();
    }
    ++previews;
    journal.push_back("preview:" + path);
    PixelSize ignored;
    OpResult result = ReadBmpSize(path, ignored);
    for (const auto* failures : {&unreadable, &undecodable}) {
        if (const auto failure = failures->find(path); failure != failures->end()) {
            result = failure->second;
        }
    }
    if (!result.ok()) {
        preview.clear();
    }
    return result;
}

OpResult FakeWindow::loadPictureBox(const std::string& path) {
    PixelSize size;
    const auto failure = unreadable.find(path);
    OpResult result = failure != unreadable.end() ? failure->second : ReadBmpSize(path, size);
    if (result.ok()) {
        picture = size;
    }
    return result;
}

void FakeWindow::message(const std::string& text) {
    EXPECT_FALSE(busy) << "a box shown under the busy cursor: " << text;
    journal.push_back("message:" + text);
}

bool FakeWindow::askYesNo(const std::string& text) {
    EXPECT_FALSE(busy) << "a box shown under the busy cursor: " << text;
    journal.push_back("ask:" + text);
    if (whileAsking) {
        whileAsking();
    }
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string FakeWindow::inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& text) {
    journal.push_back("input:" + title + "|" + prompt + "|" + text);
    if (typed.empty()) {
        return {};
    }
    std::string answer = typed.front();
    typed.pop_front();
    return answer;
}

std::optional<std::string> FakeWindow::saveFileDialog(const std::string& fileName) {
    journal.push_back("save:" + fileName);
    if (saveAs.empty()) {
        return std::nullopt;
    }
    auto answer = saveAs.front();
    saveAs.pop_front();
    return answer;
}

std::string FakeWindow::showing() const {
    return "list " + std::to_string(items.size()) + ", counter '" + counter + "', panels '" + panel1 + "' '" +
           panel2 + "', preview '" + preview + "'" + (busy ? ", busy" : "") + (focused ? ", focused" : "");
}

Ending FakeWindow::runWhilePainting(const std::function<void()>& work, const std::function<void()>& progress,
                                    Wait wait) {
    waits.push_back(wait);
    whileWaiting.push_back(showing());
    auto ended = std::make_shared<std::promise<void>>();
    std::future<void> done = ended->get_future();
    std::thread worker([work, ended] {
        work();
        ended->set_value();
    });
    // The progress runs now and then, as the window's timer runs it. The user presses Cancel after
    // `cancelAfter`.
    const auto start = std::chrono::steady_clock::now();
    while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        const bool cancel = cancelAfter && std::chrono::steady_clock::now() - start >= *cancelAfter;
        if (cancel || wait.runOut(start)) {
            leftBehind_.push_back(std::move(worker));
            return cancel ? Ending::Cancelled : Ending::OutOfTime;
        }
        if (progress) {
            progress();
        }
    }
    worker.join();
    if (progress) {
        progress();
    }
    return Ending::Done;
}

FakeWindow::~FakeWindow() {
    finishLeftBehind();
}

void FakeWindow::finishLeftBehind() {
    for (std::thread& worker : leftBehind_) {
        worker.join();
    }
    leftBehind_.clear();
    // The search's own listings run on workers of their own: a test's folders and its scripted
    // system must outlive them too.
    Worker::JoinAll(std::chrono::seconds(10));
}

OpResult ReadBmpSize(const std::string& path, PixelSize& size) {
    // Opened as the real readers open a file, so that the system's word on a missing file counts.
    std::string head;
    if (const OpResult read = NativeOs().readFileStart(path, kPictureSignatureBytes, head); !read.ok()) {
        return read;
    }
    const auto header = HeaderDimensions(head);
    if (!header) {
        return OpResult::fail(Failure::NotAPicture, "not a bitmap");
    }
    size = {static_cast<int>(header->width), static_cast<int>(header->height)};
    return OpResult::success();
}

} // namespace zelvano::test
