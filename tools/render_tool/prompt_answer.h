// The answerer a loaded module finds in this executable: the module's
// message boxes and questions come here instead of a dialog. Every text is
// printed to standard error; questions and confirmations are answered Yes
// (OK) only with --yes.
//
// Threads: whichever thread the module prompts from (the tool has one).
#pragma once

namespace RenderTool {

void setPromptAnswer(bool yes);
/// How many prompts the module has shown so far.
int promptCount();
/// How many of its questions were answered No so far.
int declinedCount();

}  // namespace RenderTool

#if defined(_WIN32)
#define RENDER_TOOL_EXPORT __declspec(dllexport)
#else
#define RENDER_TOOL_EXPORT __attribute__((visibility("default")))
#endif

/// Looked up by name from inside the module. kind says what is asked (0 an
/// error notice, 1 a Yes/No question, 2 an OK/Cancel confirmation); the
/// answer is 1 for Yes or OK, 0 for No or Cancel.
extern "C" RENDER_TOOL_EXPORT int tallowReedPromptAnswer(int kind, const char* title, const char* text);
