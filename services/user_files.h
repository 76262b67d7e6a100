// Per-user files: the settings folder and whole-file reads and safe
// replacement, used for the effect's defaults file.
//
// Threads: the UI thread, except joinPath (any thread) and simulateDiskSpace
// (any thread; a test hook).
#pragma once

#include <cstddef>
#include <string>

namespace Services {

/// The user's folder for application settings (Windows: the roaming application-data
/// folder; elsewhere $XDG_CONFIG_HOME, or ~/.config when that is unset or empty), or
/// an empty text when it cannot be found.
std::string userSettingsFolder();

/// folder and leaf joined with the platform's path separator.
std::string joinPath(const std::string& folder, const std::string& leaf);

/// Creates one folder. An existing folder is not an error; true when the folder
/// exists afterwards.
bool makeFolder(const std::string& path);

/// Reads a whole file that is smaller than limit bytes into bytes. False, with bytes
/// untouched, when the file is missing, unreadable, or limit bytes or larger.
bool readWholeFile(const std::string& path, std::size_t limit, std::string& bytes);

/// Replaces the file at path with bytes so that the old file survives any failure:
/// the bytes go to a new file in the same folder, every write and the close are
/// checked, and only then is the new file renamed over the old one. On failure the
/// new file is removed and false returned.
bool replaceFile(const std::string& path, const std::string& bytes);

/// Test hook: file writes after `bytes` further bytes fail as they would on a full
/// disk. SIZE_MAX (the start-up state) turns the simulation off.
void simulateDiskSpace(std::size_t bytes);

}  // namespace Services
