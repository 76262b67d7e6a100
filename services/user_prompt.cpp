#include "services/user_prompt.h"

#include <atomic>

#include "services/platform/platform.h"

namespace Services {

namespace {

std::atomic<PromptAnswerer> installed{nullptr};
std::atomic<void*> promptParent{nullptr};

int prompt(int kind, const char* title, const char* text, void* ownerWindow) {
    if (PromptAnswerer answer = installed.load()) return answer(kind, title, text);
    if (PromptAnswerer answer = platform::hostPromptAnswer()) return answer(kind, title, text);
    return platform::nativePrompt(kind, title, text, ownerWindow != nullptr ? ownerWindow : promptParent.load());
}

}  // namespace

void showError(const char* title, const char* text) { prompt(kPromptError, title, text, nullptr); }

bool askYesNo(const char* title, const char* text) { return prompt(kPromptQuestion, title, text, nullptr) == 1; }

bool askOkCancel(const char* title, const char* text, void* ownerWindow) {
    return prompt(kPromptOkCancel, title, text, ownerWindow) == 1;
}

void setPromptAnswerer(PromptAnswerer answerer) { installed.store(answerer); }

void setPromptParent(void* window) { promptParent.store(window); }

void clearPromptParent(void* window) { promptParent.compare_exchange_strong(window, nullptr); }

}  // namespace Services
