// The sequences that start-up, the update, wolt-cli, the benchmarks and the
// tests all run, in one place: what follows a load of the catalogue and what
// follows a change of the conditions.
#pragma once

// Loads the catalogue (EQSet) and voids what pointed into the one before:
// the region summaries and the catalogue's generation. Returns EQSet's code.
// The caller sets its conditions, then runs the condition change.
int OpenCatalogue();

// The condition change: the filter and the selection summary, the
// statistics caches, the matching window's days, both lists around the
// current record, the map pick's records, the region summaries, the alert
// ranking, the monthly series; then the current record := the newest match.
void RunConditionChange();

// After new yearly files: OpenCatalogue, then the condition change at once
// (every old record index names another earthquake now). Returns EQSet's code.
int ReloadCatalogue();

// Changes with every condition change: the map view rebuilds its markers
// and link lines when it differs from the one it built them for.
int DataGeneration();
// Changes with every load: a record index remembered from before (a picked
// row, a statistics pick) is void when it differs.
int CatalogueGeneration();
