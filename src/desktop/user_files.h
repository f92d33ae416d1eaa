#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vantorix {

// The player's home folder: HOME, else the account's entry; empty when neither
// names an absolute folder.
std::filesystem::path homeFolder();

// A folder of the XDG base-directory kind: `xdgValue` when it is absolute,
// else `fallback` under the home folder; empty when there is no home.
std::filesystem::path xdgFolder(const char* xdgValue, const char* home, std::string_view fallback);

// Writes `text` as the whole of `file`, so that a reader sees the old file or
// the new one, never half of either: a temporary file beside it, flushed to
// the disk, renamed over it. A link the player made stays one: the file it
// points at is replaced. Makes the folders it needs.
bool writeFileAtomically(const std::filesystem::path& file, std::string_view text, std::string& whyNot);

}  // namespace vantorix
