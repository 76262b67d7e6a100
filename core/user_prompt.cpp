#include "core/user_prompt.h"

#include <atomic>

namespace PlugCore {

namespace {

std::atomic<platform::PromptAnswerer> installed{nullptr};

int prompt(int kind, const char* title, const char* text) {
    if (platform::PromptAnswerer answer = installed.load()) return answer(kind, title, text);
    if (platform::PromptAnswerer answer = platform::hostPromptAnswer()) return answer(kind, title, text);
    return platform::nativePrompt(kind, title, text);
}

}  // namespace

void showError(const char* title, const char* text) { prompt(platform::kPromptError, title, text); }

bool askYesNo(const char* title, const char* text) { return prompt(platform::kPromptQuestion, title, text) == 1; }

void setPromptAnswerer(platform::PromptAnswerer answerer) { installed.store(answerer); }

}  // namespace PlugCore
