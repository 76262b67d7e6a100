#include "tools/render_tool/prompt_answer.h"

#include <cstdio>

namespace RenderTool {
namespace {

// The module's kinds: an error notice with one OK button (0), a Yes/No
// question (1) or an OK/Cancel confirmation (2), answered like a question.
constexpr int kNotice = 0;
constexpr int kConfirmation = 2;

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
    if (kind == RenderTool::kNotice) {
        std::fprintf(stderr, "tallow-render: message from the module [%s]: %s\n", title, text);
        return 1;
    }
    const int answer = RenderTool::answerYes ? 1 : 0;
    RenderTool::declined += answer ? 0 : 1;
    std::fprintf(stderr, "tallow-render: question from the module [%s]: %s\n", title, text);
    const bool confirmation = kind == RenderTool::kConfirmation;
    std::fprintf(stderr, "tallow-render: answered %s\n",
                 answer         ? (confirmation ? "OK" : "Yes")
                 : confirmation ? "Cancel (use --yes to answer OK)"
                                : "No (use --yes to answer Yes)");
    return answer;
}
