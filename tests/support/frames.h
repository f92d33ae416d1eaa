#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "audio/media_control.h"
#include "playfield/field.h"
#include "support/fakes.h"

namespace vantorix::testing {

// One frame as the player sees it: the field's colour and the captions of the
// labels that show, by name ("Myship", "Enemy(2)"): visible and inside the field.
struct Frame {
    Rgb back;
    std::map<std::string, std::string> shown;

    // The caption on screen, or empty when the label is hidden.
    std::string operator[](const std::string& label) const {
        auto found = shown.find(label);
        return found == shown.end() ? std::string() : found->second;
    }
};

// Checks the captions a frame shows; an empty caption means the label is out of view.
inline void expectShown(const Frame& frame, const std::map<std::string, std::string>& captions) {
    for (const auto& [label, caption] : captions) EXPECT_EQ(frame[label], caption) << label;
}

inline Frame frameOf(const Field& field) {
    Frame frame{field.backColor(), {}};
    for (const Label* label : field.stackingOrder()) {
        bool inside = label->left() < field.width() && label->top() < field.height() &&
                      label->left() + label->width() > 0 && label->top() + label->height() > 0;
        if (!label->visible() || !inside) continue;
        std::string name = label->name();
        if (label->index() >= 0) name += "(" + std::to_string(label->index()) + ")";
        frame.shown[name] = label->caption();
    }
    return frame;
}

// A window that keeps every frame it is given.
class FrameHost : public CountingHost {
public:
    void present(const Field& field) override {
        CountingHost::present(field);
        frames.push_back(frameOf(field));
    }
    std::vector<Frame> frames;
};

// Effects passed on to `inner`, each noted with the frame on screen and the
// music's mode as it starts.
class WatchedSounds : public SoundOut {
public:
    struct Heard {
        std::string name;
        Frame screen;
        std::string music;
    };

    WatchedSounds(SoundOut& inner, const FrameHost& host, std::function<std::string()> musicMode)
        : inner_(inner), host_(host), musicMode_(std::move(musicMode)) {}
    bool play(const std::string& path, std::uint32_t flags) override {
        heard.push_back({std::filesystem::path(path).filename().string(),
                         host_.frames.empty() ? Frame{} : host_.frames.back(), musicMode_()});
        return inner_.play(path, flags);
    }
    void beep() override { inner_.beep(); }

    // The last playing of `name`, or nothing heard.
    Heard last(const std::string& name) const {
        for (auto it = heard.rbegin(); it != heard.rend(); ++it)
            if (it->name == name) return *it;
        return Heard{};
    }
    std::vector<Heard> heard;

private:
    SoundOut& inner_;
    const FrameHost& host_;
    std::function<std::string()> musicMode_;
};

}  // namespace vantorix::testing
