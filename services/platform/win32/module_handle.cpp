#include "services/platform/win32/module_handle.h"

namespace Services::platform {

namespace {
HINSTANCE instance_ = nullptr;
}

HINSTANCE moduleHandle() { return instance_; }
void setModuleHandle(HINSTANCE instance) { instance_ = instance; }

}  // namespace Services::platform
