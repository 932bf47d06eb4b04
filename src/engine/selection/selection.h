// The selection: the current record and everything that follows from it —
// its place in both lists (the highlights), the region list's contents,
// AppSettings.selFirst, the map pick's selected records, the region
// This module is the only writer of them (engine/selection/current_record.h
// reads them).
#pragma once

#include "engine/selection/current_record.h"

struct RecordList;

// Who chose the record; each source has its own sequence of consequences.
enum SelectSource {
    // The program's choice (the newest match after a filter run or a reload):
    // current := record, found in the condition list, the region list rebuilt.
    SELECT_AFTER_FILTER = 0,
    // A picked row of the ranking page or a statistics/class row: also both
    // selected records and selFirst := record.
    SELECT_PICK,
    // A click on the map: the hovered region's newest match (record) becomes
    // current; selFirst := gSelectedRecordB.
    SELECT_MAP,
    // A click on a row of the condition list: highlighted there, selFirst :=
    // record, the region list rebuilt.
    SELECT_LIST_ROW,
    // A click on a row of the region list: highlighted there, selFirst :=
    // record, found in the condition list (the region stays the same).
    SELECT_REGION_LIST_ROW,
};

void SelectRecord(int record, int source);

// After the condition filter has marked the matches: selFirst := the newest
// match, both lists rebuilt around the current record, the selected records
// := the newest match of its region.
void SelectionAfterFilter();
// The map pick of this tick (the hover panel's): both selected records.
void SetHoverPicks(int regionNewest, int firstInWindow);

// The list's highlight := the current record and topRow := its position;
// when the list lacks it, the first record of the same region there becomes
// current instead.
void LocateCurrent(RecordList* list);
void RefreshConditionList();
void RefreshRegionList();
