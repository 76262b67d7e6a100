// tallow-render: renders audio offline through a VST 2 effect module.
#include "tools/render_tool/session.h"

int main(int argc, char** argv) { return RenderTool::runRenderTool(argc, argv); }
