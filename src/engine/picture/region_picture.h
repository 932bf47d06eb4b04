// The selected-region panel: the current record's region summary over the
// whole catalogue, the depth legend, the site and credit lines.
#pragma once

struct PanelPicture;

// Runs the region panel's summary; when it did not run (the current record
// is the one already shown) the picture does not paint. `appTitle` is
// Shift-JIS.
void BuildRegionPicture(const char* appTitle, PanelPicture* out);
