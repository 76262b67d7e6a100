#include "tools/render_tool/prompt_answer.h"

#include <cstdio>

namespace RenderTool {
namespace {

bool answerYes = false;
int shown = 0;

}  // namespace

void setPromptAnswer(bool yes) { answerYes = yes; }
int promptCount() { return shown; }

}  // namespace RenderTool

extern "C" int tallowReedPromptAnswer(int kind, const char* title, const char* text) {
    ++RenderTool::shown;
    const int answer = RenderTool::answerYes ? 1 : 0;
    std::fprintf(stderr, "tallow-render: the module says [%s] (kind %d): %s\n", title ? title : "", kind,
                 text ? text : "");
    std::fprintf(stderr, "tallow-render: answered %s%s\n", answer ? "Yes" : "No", answer ? "" : " (use --yes to accept)");
    return answer;
}
