// The renderer's one failure type. It carries no text: internal checks write
// their line to the debugger output before throwing, and callers (the host
// window while painting) only need to know that drawing failed.
#pragma once

#include <exception>

namespace Paintwell {

class Exception : public std::exception {};

}  // namespace Paintwell
