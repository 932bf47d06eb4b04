// libFuzzer target: the input is a CSV export. The importer must never read
// past it, and every event it accepts must be a record the loader takes:
// a region the table defines (never none: no row is left out for its region)
// and a magnitude that does not end the data.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "csv_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ImportState state;
    ImportCsvText("fuzz.csv", std::string(reinterpret_cast<const char*>(data), size), &state);
    ImportResult result;
    FinishImport(state, &result);
    for (const QuakeRecord& r : result.records) {
        if (r.regionIndex > kMaxRegionIndex || result.regions.table[r.regionIndex].code == 0 || r.magnitude10 == 0 ||
            r.month < 1 || r.month > 12 ||
            r.day < 1 || r.day > 31 || r.hour > 23 || r.minute > 59)
            std::abort();
    }
    return 0;
}
