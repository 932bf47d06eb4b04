// The condition filter: which records match the period, magnitude, depth
// and intensity conditions of AppSettings, and the selection summary.
// Everything that follows from a filter run is the pipeline's
// (engine/pipeline/pipeline.h: RunConditionChange).
#pragma once

int IsOutsidePeriod(int recordIndex);
// Marks every record's inFilter from the conditions (a period whose end lies
// before its start starts at its end) and computes the selection summary in
// AppSettings (selCount ... selFirstIndex, selLastIndex).
void ApplyConditions();
// The newest matching record in the region of `record`, or -1.
int FirstInRegion(int record);
// The matching window, newest first: its first record, and whether `record`
// still lies in it (up to selLastIndex, before the end of the data).
int MatchWindowStart();
bool InMatchWindow(int record);
