// The text font of the panels and windows. Win32 only.
#pragma once

#include <windows.h>

// 16 pixels, normal weight, proof quality, fixed pitch, no face name. The
// Shift-JIS charset makes every system pick a font with Japanese glyphs (the
// default charset does not outside a Japanese locale). Created for one
// drawing step, then deleted.
HFONT CreatePanelFont();
