#pragma once
// File-name helpers. Both '/' and '\\' separate folders.
#include <cstdint>
#include <string>
#include <string_view>

namespace base {

std::string ExtractFilePath(std::string_view name);   // folder with its trailing separator
std::string ExtractFileDir(std::string_view name);    // folder without it
std::string ExtractFileName(std::string_view name);   // name and extension
std::string ExtractFileExt(std::string_view name);    // ".ext", or "" when none
std::string ChangeFileExt(std::string_view name, std::string_view ext);
bool FileExists(const std::string& name);
bool DirectoryExists(const std::string& name);
bool DeleteFile(const std::string& name);

// Whether `path` may be written, or made in its folder when it does not exist, by the mode
// bits: the owner's write bit for its owner and any write bit for root (whom the system
// would let write anyway), otherwise what the system says. So every user is refused alike.
bool MayWrite(const std::string& path);

// Writes `data` to `path` whole or not at all: a temporary file beside the target,
// flushed and checked, renamed over the target only when all was written.
// On failure `error` says why and the old file is untouched; `created` tells whether
// the temporary file could be created at all.
bool WriteFileAtomic(const std::string& path, std::string_view data, std::string* error = nullptr,
                     bool* created = nullptr);
// Reads a regular file whole; false (data untouched) for a missing file, a folder, a FIFO
// or a device.
bool ReadFile(const std::string& path, std::string& data);
// Reads a regular file of at most `limit` bytes whole. On false (data untouched) `error`
// says why: missing or unreadable, a folder, a FIFO or a device, or too large.
bool ReadFileLimited(const std::string& path, std::string& data, std::uintmax_t limit,
                     std::string* error = nullptr);
// The user's configuration folder for the program, with its trailing separator:
// $XDG_CONFIG_HOME/Korvelo/, else ~/.config/Korvelo/. Not made here.
std::string UserConfigDir();
// The INI file that stands in for the registry: "Korvelo/registry.ini" under the user's
// config folder ($XDG_CONFIG_HOME, else $HOME/.config, else the working folder).
std::string RegistryIniPath();

}  // namespace base
