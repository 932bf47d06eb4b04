// The main window's mouse over its panels, as one: the control panel, the
// map pick and the bottom panel in the order the window feeds them. The
// tick, the mouse messages, the benchmarks and the tests all go through here.
#pragma once

// The hover step of the tick while a window of the program is active.
// Returns PanelRequest bits.
int PanelsHoverTick(int x, int y, int leftButtonDown);
// What lies under the cursor for the panels: every tick, before they are drawn.
void PanelsPick(int x, int y);
// Left button down; `windowWasActive` is the main window's active flag before it.
void PanelsPress(int windowWasActive, int pointerY);
// Left button up. Returns PanelRequest bits.
int PanelsRelease(int windowActive);
// The window began a drag: no button counts as pressed.
void PanelsCancelPress();
// A move or size loop of the window ended: nothing is hovered or pressed.
void PanelsForgetHover();
