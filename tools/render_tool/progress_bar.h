// A one-line progress bar on standard error, drawn only when standard error
// is a terminal, so logs and pipes stay clean. Main thread only.
#pragma once

namespace RenderTool {

class ProgressBar {
public:
    ProgressBar();
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    /// fraction from 0 to 1; redraws only when the shown percentage changes.
    void update(double fraction);

private:
    bool enabled;
    int shownPercent = -1;
};

}  // namespace RenderTool
