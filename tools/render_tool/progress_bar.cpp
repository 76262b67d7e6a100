#include "tools/render_tool/progress_bar.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/render_tool/terminal.h"

namespace RenderTool {

ProgressBar::ProgressBar() : enabled(stderrIsTerminal()) {}

ProgressBar::~ProgressBar() {
    if (enabled && shownPercent >= 0) std::fputc('\n', stderr);
}

void ProgressBar::update(double fraction) {
    if (!enabled) return;
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0);
    if (percent == shownPercent) return;
    shownPercent = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kWidth, '.');
    std::fprintf(stderr, "\rrendering [%s] %3d%%", bar.c_str(), percent);
    std::fflush(stderr);
}

}  // namespace RenderTool
