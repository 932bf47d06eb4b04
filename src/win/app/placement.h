// Where the main window stands: the work area, the start-up placement
// correction and the cursor relative to the window. Win32 only.
#pragma once

// The work area of the desktop (SPI_GETWORKAREA).
struct WorkArea;
WorkArea DesktopWorkArea();
// Moves the main window inside the work area when needed; winX[0]/winY[0]
// become its position.
void PlaceMainWindow();
// gMouseX, gMouseY := the cursor relative to the main window.
void TrackCursor();
