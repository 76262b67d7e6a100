// One run of tallow-render from parsed command line to exit status: gather
// the input, load the module, apply preset, program and parameter settings,
// render, write the result and the preset, print the summary.
#pragma once

namespace RenderTool {

/// Exit status: 0 success, 1 a failure described on stderr, 2 a usage error.
int runRenderTool(int argc, const char* const* argv);

}  // namespace RenderTool
