// The control panel as plain numbers and strings: one table of its controls
// and buttons with where each is drawn and where it takes the mouse, the
// button colours of every state, and every text with its rectangle and
// alignment, from which control_picture builds the panel's picture.
// Drawn coordinates are panel pixels (window pixels minus (kPanelLeft, 0)).
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

struct HitRect {
    int left, right, top, bottom;   // window pixels
};

enum { kPanelLeft = 512 };

// Controls of the panel, 1..18 (0 none; PanelControl in control_panel.h),
// and the filter's button group.
enum { kFilterButtonsControl = 19 };

// The control under window pixel (x, y); on shared borders the later control
// of the table wins.
int ControlAt(int x, int y);
// The minus, plus or "R" button (ARROW_*) of a date row whose buttons start
// at panel y `top`, under window pixel (x, y); ARROW_NONE elsewhere.
int RowButtonAt(int x, int y, int top);
// The filter group's button under (x, y) (the group itself is control 19).
int FilterButtonAt(int x, int y);

struct PanelButton {
    PanelRect box, textBox;   // panel pixels
    HitRect hit;              // window pixels, every edge inside
};
extern const PanelButton kResetButton, kUpdateButton;
extern const int kRowButtonLeft[3];       // panel x of the minus, plus and "R" buttons (18 wide)
extern const int kDateRowButtonTop[2];    // panel y of the start and end rows' buttons
extern const int kFilterButtonTop;
bool InsideButton(const PanelButton& b, int x, int y);

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
