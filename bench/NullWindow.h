#pragma once

#include "platform/Window.h"

#include <string>
#include <vector>

namespace zelvano::bench {

// A window that shows nothing, so that a benchmark measures the logic alone.
class NullWindow : public Window {
public:
    void listClear() override { items_.clear(); }
    void listAdd(const std::string& text) override { items_.push_back(text); }
    [[nodiscard]] int listCount() const override { return static_cast<int>(items_.size()); }
    [[nodiscard]] std::string listText(int index) const override {
        return items_.at(static_cast<std::size_t>(index));
    }
    [[nodiscard]] int listIndex() const override { return selected_; }
    void setListIndex(int index) override { selected_ = index; }
    void focusList() override {}
    [[nodiscard]] int checkedOption() const override { return -1; }
    void setCheckedOption(int /*option*/) override {}
    void setEnabled(Button /*button*/, bool /*enabled*/) override {}
    void setCounterCaption(const std::string& /*text*/) override {}
    void setPanelText(Panel /*panel*/, const std::string& /*text*/) override {}
    OpResult showPreview(const std::string& /*path*/) override { return {}; }
    OpResult loadPictureBox(const std::string& /*path*/) override { return {}; }
    [[nodiscard]] std::optional<PixelSize> pictureBoxPicture() const override { return std::nullopt; }
    [[nodiscard]] PixelRect workArea() const override { return {}; }
    [[nodiscard]] PixelSize windowFrameSize() const override { return {}; }
    void moveWindow(int /*left*/, int /*top*/) override {}
    [[nodiscard]] int twipsPerPixel() const override { return 15; }
    void showWindow() override {}
    void message(const std::string& /*text*/) override {}
    bool askYesNo(const std::string& /*text*/) override { return false; }
    void showWait() override {}
    void setWaitProgress(const std::string& /*text*/) override {}
    void closeWait() override {}
    void setBusyCursor(bool /*busy*/) override {}
    Ending runWhilePainting(const std::function<void()>& work, const std::function<void()>& /*progress*/,
                            Wait /*wait*/) override {
        work();
        return Ending::Done;
    }
    std::string inputBox(const std::string& /*prompt*/, const std::string& /*title*/,
                         const std::string& /*text*/) override {
        return {};
    }
    std::optional<std::string> saveFileDialog(const std::string& /*fileName*/) override {
        return std::nullopt;
    }
    bool printerDialog() override { return false; }
    [[nodiscard]] PrintArea printableArea() override { return {}; }
    OpResult printPicture(bool /*landscape*/, float /*widthMm*/, float /*heightMm*/) override { return {}; }
    void doEvents() override {}
    void quit() override {}

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

} // namespace zelvano::bench
