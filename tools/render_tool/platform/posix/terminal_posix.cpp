#include <unistd.h>

#include "tools/render_tool/terminal.h"

namespace RenderTool {

bool stderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace RenderTool
