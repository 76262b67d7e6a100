// The seam between the portable services and the operating system. Each
// platform folder (win32, posix) implements what is declared here, together
// with the resource lookup and the per-user files of the public headers.
// Nothing outside services/ includes this header.
#pragma once

#include <cstddef>

#include "services/user_prompt.h"

namespace Services::platform {

/// The answerer exported by the host executable (see PromptAnswerer), or nullptr.
/// UI thread.
PromptAnswerer hostPromptAnswer();

/// Shows the platform's own modal prompt of the given PromptKind, owned by
/// ownerWindow when it is not null, and returns 1 for Yes or OK, 0 for No or
/// Cancel. Where the user cannot be asked (no display), the text goes to the
/// error stream and a question or confirmation answers 0. UI thread.
int nativePrompt(int kind, const char* title, const char* text, void* ownerWindow);

/// How many of count bytes the disk still takes: all of them unless a test
/// limited the space with simulateDiskSpace. Both platforms' file writers ask
/// before every write. Any thread; the limit is one atomic word.
std::size_t takeDiskSpace(std::size_t count);

}  // namespace Services::platform
