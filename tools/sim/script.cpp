#include "script.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "runtime/key_codes.h"

namespace vantorix::sim {

namespace {

std::optional<std::int64_t> number(const std::string& word) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

std::optional<std::int16_t> keyCode(const std::string& word) {
    if (word == "Z") return vbKeyZ;
    if (word == "X") return vbKeyX;
    if (word == "UP") return vbKeyUp;
    if (word == "DOWN") return vbKeyDown;
    auto code = number(word);
    if (!code || *code < 0 || *code > 0x7FFF) return std::nullopt;
    return static_cast<std::int16_t>(*code);
}

}  // namespace

const Command* ScriptReader::peek() {
    std::string text;
    while (!pending_ && std::getline(in_, text)) {
        ++line_;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        auto first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#') continue;
        pending_ = parse(text);
    }
    return pending_ ? &*pending_ : nullptr;
}

Command ScriptReader::parse(const std::string& text) {
    std::istringstream words(text);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    auto fail = [&](const std::string& why) -> ScriptError {
        return ScriptError("line " + std::to_string(line_) + ": " + why + ": " + text);
    };

    Command c;
    c.line = line_;
    auto at = number(w[0]);
    if (!at || *at < 0) throw fail("a time in ms comes first");
    if (*at < lastAt_) throw fail("time goes backwards");
    lastAt_ = c.at = *at;
    if (w.size() < 2) throw fail("missing command");
    const std::string& verb = w[1];
    if (verb == "down" || verb == "up") {
        if (w.size() != 3) throw fail("expected one key");
        auto key = keyCode(w[2]);
        if (!key) throw fail("unknown key");
        c.kind = verb == "down" ? Command::Kind::Down : Command::Kind::Up;
        c.key = *key;
    } else if (verb == "close" || verb == "dump" || verb == "pause" || verb == "resume") {
        if (w.size() != 2) throw fail("unexpected words");
        c.kind = verb == "close"   ? Command::Kind::Close
                 : verb == "dump"  ? Command::Kind::Dump
                 : verb == "pause" ? Command::Kind::Pause
                                   : Command::Kind::Resume;
    } else if (verb == "png") {
        // The file name is the rest of the line, so it may hold blanks.
        auto start = text.find("png") + 3;
        auto first = text.find_first_not_of(" \t", start);
        if (first == std::string::npos) throw fail("missing file name");
        c.kind = Command::Kind::Png;
        c.file = text.substr(first);
        while (!c.file.empty() && (c.file.back() == ' ' || c.file.back() == '\t')) c.file.pop_back();
    } else {
        throw fail("unknown command");
    }
    return c;
}

}  // namespace vantorix::sim
