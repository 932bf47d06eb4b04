#include "engine/analysis/list_export.h"

#include "engine/analysis/exports.h"
#include "engine/analysis/reports.h"
#include "engine/catalogue/data_files.h"
#include "engine/model/records.h"
#include "engine/selection/lists.h"
#include "platform/platform.h"

std::vector<int> ListedRecords(const RecordList* list) {
    std::vector<int> records;
    const int from = list->first < 0 ? 0 : list->first, end = list->end > kMaxRecords ? kMaxRecords : list->end;
    for (int p = from; list->entries && p < end; p++) {
        const int record = list->entries[p].displayIndex;
        if (record < 0 || record >= kMaxRecords || gpEQ[record].magnitude10 == 0) break;
        records.push_back(record);
    }
    return records;
}

std::string ListExportText(const RecordList* list, int format) {
    const std::vector<int> records = ListedRecords(list);
    return ExportRecords(gpEQ, records.data(), int(records.size()), RegionTable, IntensityLabels, format);
}

std::string ListExportPath(bool regionList, int record, int format) {
    static const char* const kExtensions[] = {".csv", ".geojson", ".kml"};
    std::string path = ListTextPath(regionList, record);
    return path.replace(path.size() - 4, 4, kExtensions[format]);
}

int SaveListExport(const RecordList* list, bool regionList, int record, int format, std::string* path) {
    const std::string target = ListExportPath(regionList, record, format);
    if (!IsDirectory("text")) MakeFolder("text");
    if (WriteFileReplacing(target, ListExportText(list, format)) != 0) return 1;
    *path = target;
    return 0;
}
