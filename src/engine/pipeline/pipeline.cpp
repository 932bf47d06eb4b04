#include "engine/pipeline/pipeline.h"

#include "engine/analysis/alert.h"
#include "engine/analysis/month_series.h"
#include "engine/analysis/region_summary.h"
#include "engine/analysis/stats_cache.h"
#include "engine/catalogue/loader.h"
#include "engine/model/settings.h"
#include "engine/selection/conditions.h"
#include "engine/selection/selection.h"

static int sDataGeneration = 0;
static int sCatalogueGeneration = 0;

int DataGeneration() { return sDataGeneration; }
int CatalogueGeneration() { return sCatalogueGeneration; }

int OpenCatalogue() {
    const int result = EQSet();
    ResetRegionSummaries();
    sCatalogueGeneration++;
    return result;
}

void RunConditionChange() {
    ApplyConditions();
    InvalidateStatsCache();
    UpdateRegionDays();
    SelectionAfterFilter();
    ResetRegionSummaries();
    RankAlertRegions();
    BuildMonthSeries();
    sDataGeneration++;
    SelectRecord(AppSettings.selFirstIndex, SELECT_AFTER_FILTER);
}

int ReloadCatalogue() {
    const int result = OpenCatalogue();
    if (result != EQSET_OK) return result;
    RunConditionChange();
    return EQSET_OK;
}
