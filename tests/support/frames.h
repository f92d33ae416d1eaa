#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/fakes.h"

namespace vantorix::testing {

// What the player sees and hears: the field's colour, the captions of the labels
// that show inside it by name ("Myship", "Enemy(2)"), and the music's mode.
struct Frame {
    Rgb back;
    std::map<std::string, std::string> shown;
    std::string music;

    // The caption on screen, or empty when the label is hidden or out of view.
    std::string operator[](const std::string& label) const {
        auto found = shown.find(label);
        return found == shown.end() ? "" : found->second;
    }
};

inline void expectShown(const Frame& frame, const std::map<std::string, std::string>& captions) {
    for (const auto& [label, caption] : captions) EXPECT_EQ(frame[label], caption) << label;
}

// A window that keeps the last frame it was given.
class FrameHost : public CountingHost {
public:
    void present(const Field& field) override {
        CountingHost::present(field);
        last = Frame{field.backColor(), {}, {}};
        for (const Label* l : field.stackingOrder()) {
            bool inside = l->left() < field.width() && l->top() < field.height() &&
                          l->left() + l->width() > 0 && l->top() + l->height() > 0;
            std::string index = l->index() < 0 ? "" : "(" + std::to_string(l->index()) + ")";
            if (l->visible() && inside) last.shown[l->name() + index] = l->caption();
        }
    }
    Frame last;
};

}  // namespace vantorix::testing
