// What the control panel shows, as plain numbers and strings: the highlight
// rectangles, the button colours of every state, and every text with its
// rectangle and alignment, from which control_picture builds the panel's
// picture.
// All coordinates are panel pixels (window pixels minus (512, 0)).
#pragma once

#include <string>

struct PanelRect {
    int left, top, right, bottom;
};

struct PanelColor {
    int r, g, b;
};

struct ButtonColors {
    PanelColor outline, fill, mark;   // mark: chevrons and "R" (small buttons)
};

enum TextAlign { ALIGN_LEFT = 0, ALIGN_RIGHT = 1, ALIGN_CENTER = 2 };

struct PanelText {
    PanelRect rect;
    int align;
    char text[128];   // UTF-8
};

enum { kPanelTextCapacity = 32 };

// The highlight rectangle of control `id` 1..18 (PanelControl); 1 for an id
// without one (0, 19), which leaves *out untouched.
int ControlRect(int id, PanelRect* out);
// The rectangle of the selected start (row 0) or end (row 1) field 0..4.
PanelRect FieldRect(int row, int field);

// Small buttons (the arrows and "R" of the date rows and the filter):
// `hovered` is the button under the cursor, `buttonDown` the button-down flag.
ButtonColors SmallButtonColors(int hovered, int buttonDown);
// Large buttons ("Reset", "更新"): under the cursor, and pressed there.
ButtonColors LargeButtonColors(int hovered, int pressed);

// The status line for gUpdateStatus; "" for a code without a text. The
// progress of the record's fetch (status 30) is the text last set.
const char* UpdateStatusText(int status);
void SetFetchStatusText(const std::string& utf8);

// The white texts of the settings and statistics boxes, in drawing order:
// the conditions, the selection summary, the class table and the recurrence
// rows. Fills out[0..n) and returns n (at most kPanelTextCapacity).
int ControlPanelTexts(PanelText* out);
