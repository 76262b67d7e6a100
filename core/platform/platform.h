// The narrow seam between the portable core and the operating system. Each
// platform folder (win32, posix) implements every function declared here;
// nothing else in the core includes a system header.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace PlugCore::platform {

/// Forwards a host's mouse-wheel movement (in notches) to this module's
/// window under the cursor. True when a window took it. UI thread.
bool forwardMouseWheel(float notches);

// ---- module resources ----------------------------------------------------------

/// The bytes of this module's resource `name` of type `type`, e.g. "FXB"/"FactoryBank",
/// "TTF"/"Vera", "PNG"/"commonTextures"; an empty span when the module holds no such
/// resource. The bytes belong to the module and stay valid while it is loaded; the
/// caller never frees them. Any thread.
std::span<const unsigned char> findResource(const char* type, const char* name);

// ---- user prompts --------------------------------------------------------------

/// Kinds of prompt. An error box has one OK button; a question has Yes and No.
enum PromptKind : int { kPromptError = 0, kPromptQuestion = 1 };

/// The signature of a prompt answerer: returns 1 for Yes (or OK), 0 for No.
using PromptAnswerer = int (*)(int kind, const char* title, const char* text);

/// An answerer exported by the host executable, or nullptr. A program that loads
/// the module and wants to see or answer its prompts itself (an offline renderer,
/// a test host) exports this C function from its executable:
///
///     extern "C" int tallowReedPromptAnswer(int kind, const char* title, const char* text);
///
/// kind is kPromptError (0) or kPromptQuestion (1); the answer 1 means Yes.
/// Linux finds it with dlsym(RTLD_DEFAULT), so the executable must export its
/// dynamic symbols (-rdynamic); Windows with GetProcAddress on the executable,
/// so it must be __declspec(dllexport). Real hosts never define it. UI thread.
PromptAnswerer hostPromptAnswer();

/// Shows the platform's own modal prompt with no owner window and returns 1 for
/// Yes or OK, 0 for No. Where the user cannot be asked (no display), the text goes
/// to the error stream and a question answers No. UI thread.
int nativePrompt(int kind, const char* title, const char* text);

// ---- per-user files --------------------------------------------------------------

/// The user's folder for application settings (Windows: the roaming application-data
/// folder; elsewhere $XDG_CONFIG_HOME, or ~/.config when that is unset or empty), or
/// an empty text when it cannot be found. UI thread.
std::string userSettingsFolder();

/// folder and leaf joined with the platform's path separator.
std::string joinPath(const std::string& folder, const std::string& leaf);

/// Creates one folder. An existing folder is not an error; true when the folder
/// exists afterwards. UI thread.
bool makeFolder(const std::string& path);

/// Reads a whole file that is smaller than limit bytes into bytes. False, with bytes
/// untouched, when the file is missing, unreadable, or limit bytes or larger. UI thread.
bool readWholeFile(const std::string& path, std::size_t limit, std::string& bytes);

/// Replaces the file at path with bytes so that the old file survives any failure:
/// the bytes go to a new file in the same folder, every write and the close are
/// checked, and only then is the new file renamed over the old one. On failure the
/// new file is removed and false returned. UI thread.
bool replaceFile(const std::string& path, const std::string& bytes);

/// Test hook: file writes after `bytes` further bytes fail as they would on a full
/// disk. SIZE_MAX (the start-up state) turns the simulation off.
void simulateDiskSpace(std::size_t bytes);

}  // namespace PlugCore::platform
