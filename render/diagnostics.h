// Where the renderer's few texts go: internal check failures and the leak
// warning to the debugger output (stderr on Linux), and the one driver
// message to the user. Tests may watch them instead.
//
// Threads: the window's thread.
#pragma once

namespace Paintwell {

enum class ReportKind { DebugText, DriverMessage };

/// Receives every text the renderer reports while installed; the platform
/// output is then skipped. Null restores the platform output.
using ReportObserver = void (*)(ReportKind kind, const char* caption, const char* text);
void setReportObserver(ReportObserver observer);

void reportDebugText(const char* text);
void reportDriverMessage(const char* caption, const char* text);

/// Writes "check failed at line <line>" to the debug output and throws
/// Paintwell::Exception.
[[noreturn]] void checkFailed(int line);

}  // namespace Paintwell
