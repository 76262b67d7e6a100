#include "tools/render_tool/prompt_answer.h"

#include <cstdio>

namespace RenderTool {
namespace {

// The module's kinds: an error notice with one OK button, or a Yes/No question.
constexpr int kQuestion = 1;

bool answerYes = false;
int shown = 0;
int declined = 0;

}  // namespace

void setPromptAnswer(bool yes) { answerYes = yes; }
int promptCount() { return shown; }
int declinedCount() { return declined; }

}  // namespace RenderTool

extern "C" int tallowReedPromptAnswer(int kind, const char* title, const char* text) {
    ++RenderTool::shown;
    title = title ? title : "";
    text = text ? text : "";
    if (kind != RenderTool::kQuestion) {
        std::fprintf(stderr, "tallow-render: message from the module [%s]: %s\n", title, text);
        return 1;
    }
    const int answer = RenderTool::answerYes ? 1 : 0;
    RenderTool::declined += answer ? 0 : 1;
    std::fprintf(stderr, "tallow-render: question from the module [%s]: %s\n", title, text);
    std::fprintf(stderr, "tallow-render: answered %s\n", answer ? "Yes" : "No (use --yes to answer Yes)");
    return answer;
}
