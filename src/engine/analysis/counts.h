// Count tables: the selected records per year, month, week or day, split by
// intensity class or by whole magnitude, every period of a span with its
// zero rows.
#pragma once

#include <string>
#include <vector>

struct QuakeRecord;

enum CountPeriod { COUNT_BY_YEAR, COUNT_BY_MONTH, COUNT_BY_WEEK, COUNT_BY_DAY };
enum CountClass { COUNT_INTENSITY, COUNT_MAGNITUDE };
enum { kCountClasses = 10 };   // intensity classes 0..9 (0 .. 7), or M0 .. M9 (M k: k.0 to k.9)

struct CountTable {
    int period, classes;
    std::vector<long long> firstDay;   // per row: the day number of the period's first day
    std::vector<int> cells;            // rows x kCountClasses
    std::vector<int> totals;           // per row
};

// Rows from the period holding `fromDay` to the one holding `toDay` (day
// numbers, see DayNumber); weeks start on Monday. Counted: the records with
// inFilter 1 whose day lies in the span and, unless `regions` is empty, whose
// region is one of `regions`.
CountTable CountRecords(const QuakeRecord* records, int count, const std::vector<int>& regions, long long fromDay,
                        long long toDay, int period, int classes);

// The row's label: "2011", "2011-03", the week's Monday "2011-03-07", "2011-03-11".
std::string CountPeriodLabel(int period, long long firstDay);
