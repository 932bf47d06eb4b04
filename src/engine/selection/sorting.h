// Sorting a record list by one of its columns.
#pragma once

struct RecordList;

enum SortColumn {
    SORT_DATE = 1,
    SORT_REGION = 2,
    SORT_DEPTH = 3,
    SORT_MAGNITUDE = 4,
    SORT_INTENSITY = 5,
};

// Advances the column's sort state and reorders the display: exactly the
// stable selection by key, computed in one counting pass.
void SortList(RecordList* list, int column);
