// The condition filter: which records match the period, magnitude, depth
// and intensity conditions of AppSettings, and the selection summary.
#pragma once

// The data-changed flag: set by start-up and by every ApplyConditions,
// cleared by the tick after the view has rebuilt its markers.
extern int gDataReady;

int IsOutsidePeriod(int recordIndex);
// Marks every record's inFilter from the conditions, computes the selection
// summary, then rebuilds both lists, the alert ranking, the monthly series,
// the hover selection, the day count of the matching window and the
// statistics caches.
void ApplyConditions();
