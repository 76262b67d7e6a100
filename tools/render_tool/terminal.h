// The little the tool asks of the operating system about its terminal.
#pragma once

namespace RenderTool {

/// True when standard error is an interactive terminal (progress is drawn only then).
bool stderrIsTerminal();

}  // namespace RenderTool
