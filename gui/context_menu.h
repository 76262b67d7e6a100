// The context menu every parameter control shares: reset to the default,
// MIDI learn and unlearn, and what its items do when chosen.
//
// Threads: the editor window's thread.
#pragma once

namespace Wispkit {

class Control;
class IPlugData;
class Menu;

enum ParameterMenuId : unsigned { kResetItem = 0, kLearnItem = 1, kUnlearnItem = 2, kFirstChoiceItem = 3 };

/// Appends reset, a separator, learn and unlearn for parameter index.
void addParameterItems(Menu* menu, IPlugData* data, unsigned index);

/// The context menu of owner for index, shown at (x, y) from owner's
/// top-left corner, left-aligned, and deleted once shown.
void showParameterMenu(Control* owner, IPlugData* data, unsigned index, int x, int y);

/// Carries out one of the shared items; other ids do nothing.
void parameterMenuCommand(IPlugData* data, unsigned index, unsigned id);

}  // namespace Wispkit
