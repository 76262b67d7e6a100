// The module's message boxes: error reports and the Yes/No questions of chunk
// loading. An answerer installed in-process (tests) comes first, then one the
// host executable exports (see platform.h), then the platform's own prompt.
//
// Threads: prompts are shown on the UI thread; setPromptAnswerer may be called
// from any thread. The texts belong to the caller.
#pragma once

#include "core/platform/platform.h"

namespace PlugCore {

/// Shows an error box with an OK button.
void showError(const char* title, const char* text);

/// Asks a Yes/No question; true for Yes.
bool askYesNo(const char* title, const char* text);

/// Installs an in-process answerer for every later prompt; nullptr removes it.
void setPromptAnswerer(platform::PromptAnswerer answerer);

}  // namespace PlugCore
