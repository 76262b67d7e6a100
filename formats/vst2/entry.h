// Declares the VST 2.4 form's exported entry. Only the symbols marked here
// leave the module.
#pragma once

#include "formats/vst2/aeffect.h"

#if defined(_WIN32)
#define TALLOW_EXPORT __declspec(dllexport)
#else
#define TALLOW_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TALLOW_EXPORT vst::AEffect* VSTPluginMain(vst::audioMasterCallback audioMaster);
