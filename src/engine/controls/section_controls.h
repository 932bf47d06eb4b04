// The cross-section: the line the user drags on the map (window pixels of
// the map picture), its strip width, the section it gives and the event the
// pointer rests on in the section window. The main window feeds it the
// mouse while a line is being drawn; the section window shows and saves
// the section; the view draws the line and the strip on the map. Its state
// is this module's own.
#pragma once

#include "engine/analysis/section.h"
#include "engine/model/settings.h"

enum SectionPickState {
    SECTION_PICK_OFF = 0,   // the map behaves as always
    SECTION_PICK_WAITING,   // 断面図 chosen: the next press on the map starts a line
    SECTION_PICK_DRAGGING,  // the button is down: the line follows the pointer
};

enum SectionReleaseResult {
    SECTION_RELEASE_NONE = 0,    // no line was being drawn
    SECTION_RELEASE_SHOWN = 1,   // a new section: show the section window
    SECTION_RELEASE_SHORT = 2,   // too short to be a line: waiting for another
};

extern const double kDefaultStripKm;   // 50 km

int SectionPickState();
void BeginSectionPick();
void CancelSectionPick();
// A press at map pixel (x, y): 1 when it starts a line (waiting, on the map).
int SectionPress(int x, int y);
void SectionDrag(int x, int y);
int SectionRelease(int x, int y);

// The section of the last line with the current selection; nullptr before
// the first line or after CloseSection.
const Section* CurrentSection();
// The section window closed: no section, no line on the map.
void CloseSection();
// The wheel in the section window: a wider (steps > 0) or narrower strip.
void ChangeStripWidth(int steps);
// The conditions changed: the section is made again from the new selection.
void SectionAfterFilter();
// Counts every change of the section (line, width, selection), so that its
// window repaints its events only then.
int SectionGeneration();

// The section window's place is kept in the settings block like the list
// and graph windows' places, in an element that was never used before; a
// block that has never held it has 0, 0 there.
enum { kSectionWindowSlot = 4 };
// Where the section window opens: its stored position, or beside the list
// window when none is stored; in either case kept inside the work area.
void SectionWindowPosition(const WorkArea& area, int width, int height, int* x, int* y);

// The line on the map (map pixels) and its strip's half width: the line
// being drawn, else the shown section's. 0 when there is neither.
int SectionOverlayLine(double* x1, double* y1, double* x2, double* y2, double* widthKm);
