#include "render/diagnostics.h"

#include "render/exception.h"
#include "render/platform/gl_platform.h"

#include <cstdio>

namespace Paintwell {

namespace {
ReportObserver observer = nullptr;
}

void setReportObserver(ReportObserver newObserver) { observer = newObserver; }

void reportDebugText(const char* text) {
    if (observer) {
        observer(ReportKind::DebugText, nullptr, text);
        return;
    }
    platform::writeDebugText(text);
}

void reportDriverMessage(const char* caption, const char* text) {
    if (observer) {
        observer(ReportKind::DriverMessage, caption, text);
        return;
    }
    platform::showDriverMessage(caption, text);
}

void checkFailed(int line) {
    char message[123];
    std::snprintf(message, sizeof message, "Corvelight GL: check failed at line %d (please report this bug).\r\n",
                  line);
    reportDebugText(message);
    throw Exception();
}

}  // namespace Paintwell
