// The module's message boxes: error reports, the Yes/No questions of chunk
// loading and the editor's OK/Cancel confirmations. An answerer installed
// in-process (tests) comes first, then one the host executable exports, then
// the platform's own prompt.
//
// Threads: prompts are shown on the UI thread; setPromptAnswerer may be called
// from any thread. The texts belong to the caller.
#pragma once

namespace Services {

/// Kinds of prompt. An error box has one OK button; a question has Yes and No;
/// a confirmation has OK and Cancel.
enum PromptKind : int { kPromptError = 0, kPromptQuestion = 1, kPromptOkCancel = 2 };

/// The signature of a prompt answerer: returns 1 for Yes or OK, 0 for No or Cancel.
///
/// A program that loads the module and wants to see or answer its prompts itself
/// (an offline renderer, a test host) exports this C function from its executable:
///
///     extern "C" int tallowReedPromptAnswer(int kind, const char* title, const char* text);
///
/// kind is kPromptError (0), kPromptQuestion (1) or kPromptOkCancel (2); the answer
/// 1 means Yes for a question and OK for a confirmation, and is ignored for an
/// error. Linux finds it with dlsym(RTLD_DEFAULT), so the executable must export
/// its dynamic symbols (-rdynamic); Windows with GetProcAddress on the executable,
/// so it must be __declspec(dllexport). Real hosts never define it.
using PromptAnswerer = int (*)(int kind, const char* title, const char* text);

/// Shows an error box with an OK button.
void showError(const char* title, const char* text);

/// Asks a Yes/No question; true for Yes.
bool askYesNo(const char* title, const char* text);

/// Asks an OK/Cancel question, modal to ownerWindow (the platform's window
/// handle, or null for none); true for OK.
bool askOkCancel(const char* title, const char* text, void* ownerWindow);

/// The window that prompts shown without an owner of their own (errors,
/// questions) stay above: on Linux the X11 id of the host's top-level
/// window, which the editor offers once it is on the screen, so that a
/// dialog for a preset the host loads is not lost behind the host. Windows
/// never sets it: its boxes are task-modal and owned by no window. Any thread.
void setPromptParent(void* window);
/// Forgets window as the prompt parent, unless another one was set since.
void clearPromptParent(void* window);

/// Installs an in-process answerer for every later prompt; nullptr removes it.
void setPromptAnswerer(PromptAnswerer answerer);

}  // namespace Services
