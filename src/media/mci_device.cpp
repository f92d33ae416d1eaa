#include "media/mci_device.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <optional>

#include "media/file_bytes.h"
#include "media/mci_errors.h"

namespace vantorix {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char lowerChar(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerChar);
    return out;
}

// The game asks its song's mode on every pass of its loop: commands are read
// in place, without copies.
bool same(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerChar(x) == lowerChar(y); });
}

void splitWords(std::string_view text, std::vector<std::string_view>& words) {
    words.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) ++i;
        std::size_t start = i;
        while (i < text.size() && !isBlank(text[i])) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
}

std::vector<std::string_view> splitWords(std::string_view text) {
    std::vector<std::string_view> words;
    splitWords(text, words);
    return words;
}

// A whole non-negative number of milliseconds.
std::optional<std::int64_t> milliseconds(std::string_view text) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

// The keywords that may follow the file in an open command, as (keyword, value)
// pairs, each keyword at most once.
bool openKeywords(const std::vector<std::string_view>& words, std::size_t from, std::string& type,
                  std::string& alias) {
    if ((words.size() - from) % 2 != 0) return false;
    std::optional<std::string> typeWord, aliasWord;
    for (std::size_t i = from; i < words.size(); i += 2) {
        std::optional<std::string>* slot = same(words[i], "type")    ? &typeWord
                                           : same(words[i], "alias") ? &aliasWord
                                                                     : nullptr;
        if (!slot || *slot) return false;
        *slot = lower(words[i + 1]);
    }
    type = typeWord.value_or("");
    alias = aliasWord.value_or("");
    return true;
}

// An unquoted file name may hold blanks, and its folders may be named like the
// keywords. Of the readings that leave valid keywords after the name, the longest
// name that is an existing file wins; with none, the reading with the most keywords.
std::string unquotedPath(std::string_view arguments, std::string& type, std::string& alias) {
    auto words = splitWords(arguments);
    std::string path;
    for (std::size_t split = words.size(); split >= 1; --split) {
        std::string readType, readAlias;
        if (!openKeywords(words, split, readType, readAlias)) continue;
        std::string_view last = words[split - 1];
        path = std::string(arguments.substr(0, static_cast<std::size_t>(last.data() - arguments.data()) + last.size()));
        type = readType;
        alias = readAlias;
        if (isFile(path)) break;
    }
    return path;
}

}  // namespace

bool MciDevice::CaseBlindLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return lowerChar(x) < lowerChar(y); });
}

MciDevice::MciDevice(SequencerLoader loader) : loader_(std::move(loader)) {}

std::int32_t MciDevice::sendString(std::string_view commandText, char* reply,
                                   std::uint32_t replyLength) {
    std::size_t start = 0;
    while (start < commandText.size() && isBlank(commandText[start])) ++start;
    commandText.remove_prefix(start);
    if (commandText.empty()) return MCIERR_MISSING_COMMAND_STRING;

    auto verbEnd = std::find_if(commandText.begin(), commandText.end(), isBlank);
    if (same(std::string_view(commandText.begin(), verbEnd), "open"))
        return open(commandText.substr(std::min(commandText.size(), std::size_t{5})));

    splitWords(commandText, words_);
    std::string text;
    std::int32_t result = command(words_, text);
    if (result != 0 || text.empty() || reply == nullptr || replyLength == 0) return result;
    if (text.size() + 1 > replyLength) return MCIERR_PARAM_OVERFLOW;
    std::memcpy(reply, text.c_str(), text.size() + 1);
    return 0;
}

std::int32_t MciDevice::open(std::string_view arguments) {
    // One blank separates the verb from the file; a second means no file was given.
    if (arguments.empty() || isBlank(arguments.front())) return MCIERR_MISSING_PARAMETER;

    std::string path, type, alias;
    if (arguments.front() == '"') {
        std::size_t close = arguments.find('"', 1);
        if (close == std::string_view::npos) return MCIERR_MISSING_PARAMETER;
        path = std::string(arguments.substr(1, close - 1));
        auto words = splitWords(arguments.substr(close + 1));
        if (!openKeywords(words, 0, type, alias)) return MCIERR_UNRECOGNIZED_KEYWORD;
    } else {
        path = unquotedPath(arguments, type, alias);
    }
    if (path.empty()) return MCIERR_MISSING_PARAMETER;
    if (!type.empty() && type != "sequencer") return MCIERR_INVALID_DEVICE_NAME;
    if (alias.empty()) alias = lower(path);
    if (songs_.count(alias)) return MCIERR_DUPLICATE_ALIAS;

    if (!isFile(path)) {
        std::error_code error;
        refuse(path, std::filesystem::exists(path, error) ? "not a file" : "no such file");
        return MCIERR_FILE_NOT_FOUND;
    }
    std::string whyNot;
    auto sequencer = loader_(path, whyNot);
    if (!sequencer) {
        refuse(path, whyNot);
        return MCIERR_INVALID_FILE;
    }
    songs_[alias] = Song{std::move(sequencer), path};
    return 0;
}

void MciDevice::refuse(const std::string& path, const std::string& why) {
    lastLoadError_ = path + ": " + why;
    if (onRefused && refused_.insert(path).second) onRefused(path + ": not played, " + why);
}

std::string MciDevice::fileOf(std::string_view alias) const {
    auto found = songs_.find(alias);
    return found == songs_.end() ? std::string() : found->second.path;
}

std::int32_t MciDevice::command(const std::vector<std::string_view>& words, std::string& reply) {
    static constexpr std::string_view kVerbs[] = {"play", "pause", "resume", "stop", "seek", "status",
                                                  "close"};
    auto known = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                              [&](std::string_view v) { return same(words[0], v); });
    if (known == std::end(kVerbs)) return MCIERR_UNRECOGNIZED_COMMAND;
    std::string_view verb = *known;
    if (words.size() < 2) return MCIERR_MISSING_PARAMETER;
    auto found = songs_.find(words[1]);
    if (found == songs_.end()) return MCIERR_INVALID_DEVICE_NAME;
    Song& song = found->second;
    settle(song);

    if (verb == "play") return play(song, words);
    if (verb == "seek") return seek(song, words);
    if (verb == "status") return status(song, words, reply);
    if (words.size() > 2) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (verb == "pause") {
        halt(song, Mode::Paused);
    } else if (verb == "stop") {
        halt(song, Mode::Stopped);
    } else if (verb == "resume") {
        // Resuming a stopped song plays it on from where it stands.
        if (song.mode != Mode::Playing) {
            song.sequencer->playFrom(song.position);
            song.mode = Mode::Playing;
        }
    } else {
        halt(song, Mode::Stopped);
        songs_.erase(found);
    }
    return 0;
}

std::int32_t MciDevice::play(Song& song, const std::vector<std::string_view>& words) {
    if (words.size() == 2) {
        if (song.mode != Mode::Playing) {
            song.sequencer->playFrom(song.position);
            song.mode = Mode::Playing;
        }
        return 0;
    }
    if (!same(words[2], "from")) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (words.size() != 4) return MCIERR_MISSING_PARAMETER;
    auto from = milliseconds(words[3]);
    if (!from) return MCIERR_BAD_INTEGER;
    if (*from > song.sequencer->lengthMs()) return MCIERR_OUTOFRANGE;
    halt(song, Mode::Stopped);
    song.position = *from;
    song.sequencer->playFrom(*from);
    song.mode = Mode::Playing;
    return 0;
}

std::int32_t MciDevice::seek(Song& song, const std::vector<std::string_view>& words) {
    if (words.size() != 4 || !same(words[2], "to")) return MCIERR_MISSING_PARAMETER;
    std::optional<std::int64_t> to;
    if (same(words[3], "start"))
        to = 0;
    else if (same(words[3], "end"))
        to = song.sequencer->lengthMs();
    else if (!(to = milliseconds(words[3])))
        return MCIERR_BAD_INTEGER;
    if (*to > song.sequencer->lengthMs()) return MCIERR_OUTOFRANGE;
    // Seeking stops a playing song, as the sequencer device does.
    halt(song, Mode::Stopped);
    song.position = *to;
    return 0;
}

std::int32_t MciDevice::status(Song& song, const std::vector<std::string_view>& words,
                               std::string& reply) {
    if (words.size() < 3) return MCIERR_MISSING_PARAMETER;
    if (words.size() > 3) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (same(words[2], "mode")) {
        reply = song.mode == Mode::Playing  ? "playing"
                : song.mode == Mode::Paused ? "paused"
                                            : "stopped";
    } else if (same(words[2], "position")) {
        std::int64_t at = song.mode == Mode::Playing ? song.sequencer->positionMs() : song.position;
        reply = std::to_string(std::min(at, song.sequencer->lengthMs()));
    } else if (same(words[2], "length")) {
        reply = std::to_string(song.sequencer->lengthMs());
    } else {
        return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    return 0;
}

// A playing song that has reached its end is stopped there.
void MciDevice::settle(Song& song) {
    if (song.mode == Mode::Playing && song.sequencer->finished()) {
        song.sequencer->halt();
        song.position = song.sequencer->lengthMs();
        song.mode = Mode::Stopped;
    }
}

void MciDevice::halt(Song& song, Mode mode) {
    if (song.mode == Mode::Playing) {
        song.position = std::min(song.sequencer->positionMs(), song.sequencer->lengthMs());
        song.sequencer->halt();
        song.mode = mode;
    } else if (mode == Mode::Stopped) {
        song.mode = Mode::Stopped;
    }
}

}  // namespace vantorix
