// wolt-cli: the engine on the command line. Loads a Data folder, applies the
// conditions through the program's own clamps and filter, and prints the
// selection summary or writes the reports and list files byte for byte as
// the program's save buttons do.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis_commands.h"
#include "cli_common.h"
#include "engine/pipeline/pipeline.h"
#include "engine/analysis/counts.h"
#include "engine/analysis/exports.h"
#include "engine/analysis/list_export.h"
#include "engine/analysis/month_series.h"
#include "engine/analysis/region_summary.h"
#include "engine/analysis/reports.h"
#include "engine/catalogue/loader.h"
#include "engine/model/records.h"
#include "engine/controls/period.h"
#include "engine/model/settings.h"
#include "engine/selection/conditions.h"
#include "engine/selection/lists.h"
#include "engine/selection/current_record.h"
#include "engine/selection/selection.h"
#include "engine/selection/sorting.h"
#include "platform/platform.h"
#include "platform/tool_main.h"

static const char kUsage[] =
    "usage: wolt-cli [--data DIR] [--settings FILE] [--from \"YYYY/MM/DD HH:MM\"] [--to \"YYYY/MM/DD HH:MM\"]\n"
    "                [--mag MIN-MAX] [--depth MIN-MAX] [--intensity MIN-MAX] [--record N]\n"
    "                [--now \"YYYY/MM/DD HH:MM:SS\"] COMMAND\n"
    "       COMMAND: summary | alert-report [-o FILE] | region-report [-o FILE]\n"
    "                | list [--region] [--sort COLUMN[,COLUMN...]] [--format text|csv|geojson|kml] [-o FILE]\n"
    "                | backtest [--from-year Y1] [--to-year Y2] [--min-mag M] [--smooth-km KM] [-o FILE.csv]\n"
    "                  [--svg FILE.svg]\n"
    "                | gr [--region NAME|--all] [--mc mbs|maxc|VALUE] [--min-events N] [--by-period YEARS]\n"
    "                  [-o FILE.csv] [--svg FILE.svg]\n"
    "                | aftershocks --main \"YYYY/MM/DD HH:MM\" --radius KM --days D [--min-mag M] [--start-days T]\n"
    "                  [-o FILE.csv] [--svg FILE.svg]\n"
    "                | counts --by year|month|week|day [--class intensity|magnitude] [--region NAME]...\n"
    "                  [-o FILE.csv] [--svg FILE.svg]\n"
    "                | replay --frames DIR [--fps N] [--speed DAYS_PER_SECOND]\n"
    "                | section --from LAT,LON --to LAT,LON [--width KM] [-o FILE.svg]\n";

static const char kHelp[] =
    "commands:\n"
    "  summary                 key=value lines: the catalogue, the conditions after the clamps,\n"
    "                          the selection summary and the monthly series\n"
    "  alert-report [-o FILE]  the alert report (default: text/wolt 要警戒_<time>.txt)\n"
    "  region-report [-o FILE] the region report of the current record\n"
    "                          (default: text/wolt_<region>_<time>.txt)\n"
    "  list [--region] [--sort COLUMN[,COLUMN...]] [--format FORMAT] [-o FILE]\n"
    "                          the condition list file, or with --region the region list file\n"
    "                          (default: text/wolt_list_[<region>_]<time>.txt); --sort applies\n"
    "                          header clicks in order: date, region, depth, magnitude, intensity;\n"
    "                          --format text (Shift-JIS, the program's), csv (UTF-8), geojson, kml\n"
    "  backtest                the alert ranking of each year Y1..Y2 (default 1990 to the last complete\n"
    "                          year), made on the records before Y, against that year's M>=M (6.0)\n"
    "                          earthquakes: Molchan ASS and top-10 hits beside the rate baseline,\n"
    "                          smoothed seismicity (M4+ epicentres, Gaussian kernel of --smooth-km, 50)\n"
    "                          and random rankings (10,000, fixed seed); CSV per year and pooled, a summary\n"
    "  gr                      Gutenberg-Richter on the selected records: Mc by b-value stability (or\n"
    "                          --mc maxc: maximum curvature + 0.2, or a VALUE), b (Aki-Utsu) and its\n"
    "                          error, b-positive, bootstrap errors of Mc and b (200 resamples), a, M6+\n"
    "                          recurrence; for the whole selection, one --region or --all, per period of\n"
    "                          --by-period years; fewer than --min-events (50) above Mc: no estimate;\n"
    "                          --svg draws the (first) row's plot\n"
    "  aftershocks             the largest selected earthquake within a minute of --main, the selected\n"
    "                          earthquakes after it within --radius km and --days days: the Omori-Utsu\n"
    "                          law fitted from --start-days (0) on to those of --min-mag and up (default\n"
    "                          their Mc), expected M>=main-1 and M5+ aftershocks in the next 1, 7, 30 days;\n"
    "                          -o one CSV row per aftershock, --svg the rate on log-log axes\n"
    "  counts                  the selected records per period (every period of the conditions' span inside\n"
    "                          the catalogue, zero rows included; weeks from Monday) and intensity class or\n"
    "                          whole magnitude, of every region or of the --region(s); --svg stacked bars\n"
    "  replay                  the program's replay of the selection as numbered PNG frames of the map\n"
    "                          (DIR/frame_000001.png ...): from the period's start, --speed days of record\n"
    "                          per second (default 30.4, a month), --fps frames per second (25)\n"
    "  section                 the depth cross-section along the line from --from to --to (latitude,longitude\n"
    "                          in degrees) of the selected earthquakes within --width km (50) either side,\n"
    "                          as SVG (default text/wolt_section_<time>.svg); --from and --to after the\n"
    "                          command word are the line's ends, before it the period\n"
    "options:\n"
    "  --data DIR              the data folder (default: Data)\n"
    "  --settings FILE         take the conditions from a wolt.dat (it is never written)\n"
    "  --from, --to DATE       the period; the time may be left out (00:00 / 23:59)\n"
    "  --mag MIN-MAX           magnitude range in whole magnitudes\n"
    "  --depth MIN-MAX         depth range in km\n"
    "  --intensity MIN-MAX     intensity class range, 0..9 (5 is 5弱, 6 is 5強, ...)\n"
    "  --record N              make record N (0 = the newest) current before the command\n"
    "  --now TIME              pin the clock (the loader's current year, report time stamps)\n"
    "Reports without -o go to text/ (created when missing). Conditions pass the program's clamps.\n"
    "exit codes: 0 success, 2 usage error, 3 data could not be loaded, 4 output could not be written\n";

struct Options {
    const char* data = "Data";
    const char* settings = nullptr;
    const char* output = nullptr;
    std::string command;
    bool help = false;
    bool hasFrom = false, hasTo = false, hasNow = false;
    int from[5] = {}, to[5] = {};
    LocalTime now{};
    bool hasMag = false, hasDepth = false, hasIntensity = false;
    int mag[2] = {}, depth[2] = {}, intensity[2] = {};
    int record = -1;
    bool regionList = false;
    std::vector<int> sorts;
    int format = -1;                           // list: -1 text, else an ExportFormat
    std::vector<std::string> commandOptions;  // to check that they fit the command
    BacktestCommand backtest;
    GrCommand gr;
    AftershocksCommand aftershocks;
    CountsCommand counts;
    ReplayCommand replay;
    SectionCommand section;
    double minMag = -1;                        // backtest's and aftershocks' --min-mag
    const char* svg = nullptr;
};

struct Keyword {
    const char* name;
    int value;
};

static const Keyword kFormats[] = {{"text", -1}, {"csv", EXPORT_CSV}, {"geojson", EXPORT_GEOJSON}, {"kml", EXPORT_KML}};
static const Keyword kPeriods[] = {{"year", COUNT_BY_YEAR}, {"month", COUNT_BY_MONTH}, {"week", COUNT_BY_WEEK},
                                   {"day", COUNT_BY_DAY}};
static const Keyword kClasses[] = {{"intensity", COUNT_INTENSITY}, {"magnitude", COUNT_MAGNITUDE}};

template <size_t N>
static bool ParseKeyword(const char* text, const Keyword (&keywords)[N], int* value) {
    for (const Keyword& k : keywords)
        if (std::strcmp(text, k.name) == 0) {
            *value = k.value;
            return true;
        }
    return false;
}

static bool ParseDecimal(const char* text, double* value) {
    char* end;
    *value = std::strtod(text, &end);
    return end != text && !*end;
}

// A decimal number of 1 to 9 digits; advances `text` past it.
static bool ReadNumber(const char** text, int* value) {
    const char* p = *text;
    int digits = 0, v = 0;
    while (*p >= '0' && *p <= '9' && digits < 10) v = v * 10 + (*p++ - '0'), digits++;
    if (digits == 0 || digits > 9) return false;
    *text = p;
    *value = v;
    return true;
}

static bool ParseCount(const char* text, int* value) { return ReadNumber(&text, value) && !*text; }

static bool ParseRange(const char* text, int range[2]) {
    return ReadNumber(&text, &range[0]) && *text++ == '-' && ReadNumber(&text, &range[1]) && !*text;
}

// "Y/M/D", "Y/M/D H:M" or "Y/M/D H:M:S"; returns the number of fields, 0 when malformed.
static int ParseDateTime(const char* text, int fields[6]) {
    static const char kSeparatorBefore[] = "// ::";
    for (int n = 0;;) {
        if (!ReadNumber(&text, &fields[n])) return 0;
        n++;
        if (!*text) return n;
        if (n == 6 || *text != kSeparatorBefore[n - 1]) return 0;
        text++;
    }
}

// "LAT,LON" in degrees.
static bool ParsePlace(const char* text, double place[2]) {
    char* end;
    place[0] = std::strtod(text, &end);
    if (end == text || *end != ',') return false;
    const char* lon = end + 1;
    place[1] = std::strtod(lon, &end);
    return end != lon && !*end && std::fabs(place[0]) <= 90 && std::fabs(place[1]) <= 180;
}

static bool ParsePeriodEnd(const char* text, int out[5], int defaultHour, int defaultMinute) {
    int fields[6];
    int n = ParseDateTime(text, fields);
    if (n != 3 && n != 5) return false;
    if (n == 3) fields[3] = defaultHour, fields[4] = defaultMinute;
    std::memcpy(out, fields, 5 * sizeof(int));
    return true;
}

static bool ParseNow(const char* text, LocalTime* now) {
    int f[6] = {};
    int n = ParseDateTime(text, f);
    if (n != 5 && n != 6) return false;
    if (f[1] < 1 || f[1] > 12 || f[2] < 1 || f[2] > DaysInMonth(f[1], f[0]) || f[3] > 23 ||
        f[4] > 59 || f[5] > 59)
        return false;
    *now = {f[0], f[1], f[2], f[3], f[4], f[5]};
    return true;
}

struct ColumnName {
    const char* name;
    int column;
};

static const ColumnName kColumns[] = {
    {"date", SORT_DATE},           {"region", SORT_REGION},       {"depth", SORT_DEPTH},
    {"magnitude", SORT_MAGNITUDE}, {"intensity", SORT_INTENSITY},
};

static bool ParseSorts(const char* text, std::vector<int>* sorts, std::string* problem) {
    std::string list(text);
    size_t start = 0;
    for (;;) {
        size_t comma = list.find(',', start);
        std::string name = list.substr(start, comma == std::string::npos ? comma : comma - start);
        int column = 0;
        for (const ColumnName& c : kColumns)
            if (name == c.name) column = c.column;
        if (!column) {
            *problem = "--sort: unknown column \"" + name +
                       "\" (date, region, depth, magnitude, intensity)";
            return false;
        }
        sorts->push_back(column);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

// Reads the arguments into `o`; false with `problem` set on a usage error.
static bool ParseArguments(int argc, char** argv, Options* o, std::string* problem) {
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            o->help = true;
            return true;
        }
        if (arg == "--all") {
            o->gr.all = true;
            o->commandOptions.push_back(arg);
            continue;
        }
        if (arg == "--region" && o->command != "gr" && o->command != "counts") {
            o->regionList = true;
            o->commandOptions.push_back(arg);
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            if (i + 1 >= argc) {
                *problem = arg + ": a value is missing";
                return false;
            }
            const char* value = argv[++i];
            bool ok = true;
            if (arg == "--data") {
                o->data = value;
            } else if (arg == "--settings") {
                o->settings = value;
            } else if ((arg == "--from" || arg == "--to") && o->command == "section") {
                const bool start = arg == "--from";
                ok = ParsePlace(value, start ? o->section.from : o->section.to);
                (start ? o->section.hasFrom : o->section.hasTo) = ok;
            } else if (arg == "--frames") {
                o->replay.frames = value;
                o->commandOptions.push_back(arg);
            } else if (arg == "--fps" || arg == "--speed" || arg == "--width") {
                double* target = arg == "--fps" ? &o->replay.fps : arg == "--speed" ? &o->replay.daysPerSecond
                                                                                    : &o->section.widthKm;
                ok = ParseDecimal(value, target) && *target > 0 && std::isfinite(*target) && (arg != "--fps" || *target <= 120);
                o->commandOptions.push_back(arg);
            } else if (arg == "--from") {
                ok = o->hasFrom = ParsePeriodEnd(value, o->from, 0, 0);
            } else if (arg == "--to") {
                ok = o->hasTo = ParsePeriodEnd(value, o->to, 23, 59);
            } else if (arg == "--now") {
                ok = o->hasNow = ParseNow(value, &o->now);
            } else if (arg == "--mag") {
                ok = o->hasMag = ParseRange(value, o->mag);
            } else if (arg == "--depth") {
                ok = o->hasDepth = ParseRange(value, o->depth);
            } else if (arg == "--intensity") {
                ok = o->hasIntensity = ParseRange(value, o->intensity);
            } else if (arg == "--record") {
                ok = ParseCount(value, &o->record);
            } else if (arg == "-o") {
                o->output = value;
                o->commandOptions.push_back(arg);
            } else if (arg == "--svg") {
                o->svg = value;
                o->commandOptions.push_back(arg);
            } else if (arg == "--from-year" || arg == "--to-year") {
                ok = ParseCount(value, arg == "--from-year" ? &o->backtest.fromYear : &o->backtest.toYear);
                o->commandOptions.push_back(arg);
            } else if (arg == "--min-mag") {
                ok = ParseDecimal(value, &o->minMag) && o->minMag > 0 && o->minMag < 10;
                o->commandOptions.push_back(arg);
            } else if (arg == "--region") {   // gr's and counts'
                if (o->command == "gr") o->gr.region = value;
                else o->counts.regions.push_back(value);
                o->commandOptions.push_back(arg);
            } else if (arg == "--mc") {
                double mc = 0;
                const std::string name = value;
                ok = name == "mbs" || name == "maxc" || (ParseDecimal(value, &mc) && mc >= 0 && mc < 10);
                o->gr.options.method = name == "mbs" ? GR_MC_STABILITY : name == "maxc" ? GR_MC_MAXC : GR_MC_FIXED;
                o->gr.options.mc10 = int(std::lround(mc * 10));
                o->commandOptions.push_back(arg);
            } else if (arg == "--by-period") {
                ok = ParseCount(value, &o->gr.periodYears) && o->gr.periodYears > 0;
                o->commandOptions.push_back(arg);
            } else if (arg == "--smooth-km") {
                ok = ParseDecimal(value, &o->backtest.smoothKm) && o->backtest.smoothKm > 0;
                o->commandOptions.push_back(arg);
            } else if (arg == "--main") {
                int f[6];
                ok = o->aftershocks.hasMain = ParseDateTime(value, f) == 5;
                std::memcpy(o->aftershocks.main, f, sizeof o->aftershocks.main);
                o->commandOptions.push_back(arg);
            } else if (arg == "--radius" || arg == "--days") {
                double* target = arg == "--radius" ? &o->aftershocks.radiusKm : &o->aftershocks.days;
                ok = ParseDecimal(value, target) && *target > 0;
                o->commandOptions.push_back(arg);
            } else if (arg == "--start-days") {
                ok = ParseDecimal(value, &o->aftershocks.startDays) && o->aftershocks.startDays >= 0;
                o->commandOptions.push_back(arg);
            } else if (arg == "--format") {
                ok = ParseKeyword(value, kFormats, &o->format);
                o->commandOptions.push_back(arg);
            } else if (arg == "--by") {
                ok = ParseKeyword(value, kPeriods, &o->counts.period);
                o->commandOptions.push_back(arg);
            } else if (arg == "--class") {
                ok = ParseKeyword(value, kClasses, &o->counts.classes);
                o->commandOptions.push_back(arg);
            } else if (arg == "--min-events") {
                ok = ParseCount(value, &o->gr.options.minEvents);
                o->commandOptions.push_back(arg);
            } else if (arg == "--sort") {
                if (!ParseSorts(value, &o->sorts, problem)) return false;
                o->commandOptions.push_back(arg);
            } else {
                *problem = "unknown option " + arg;
                return false;
            }
            if (!ok) {
                *problem = arg + ": cannot read \"" + value + "\"";
                return false;
            }
            continue;
        }
        if (!o->command.empty()) {
            *problem = "one command only (\"" + o->command + "\", then \"" + arg + "\")";
            return false;
        }
        o->command = arg;
    }
    if (o->command.empty()) {
        *problem = "no command";
        return false;
    }
    if (o->command != "summary" && o->command != "alert-report" && o->command != "region-report" &&
        o->command != "list" && o->command != "backtest" && o->command != "gr" && o->command != "aftershocks" &&
        o->command != "counts" && o->command != "replay" && o->command != "section") {
        *problem = "unknown command " + o->command;
        return false;
    }
    static const struct {
        const char* option;
        const char* commands;   // " "-separated, each with a space before and after
    } kFits[] = {
        {"-o", " alert-report region-report list backtest gr aftershocks counts section "}, {"--sort", " list "},
        {"--region", " list gr counts "}, {"--svg", " backtest gr aftershocks counts "},
        {"--from-year", " backtest "}, {"--to-year", " backtest "}, {"--min-mag", " backtest aftershocks "},
        {"--smooth-km", " backtest "}, {"--all", " gr "}, {"--mc", " gr "}, {"--min-events", " gr "},
        {"--by-period", " gr "}, {"--main", " aftershocks "}, {"--radius", " aftershocks "},
        {"--days", " aftershocks "}, {"--start-days", " aftershocks "}, {"--format", " list "},
        {"--by", " counts "}, {"--class", " counts "}, {"--frames", " replay "}, {"--fps", " replay "},
        {"--speed", " replay "}, {"--width", " section "},
    };
    for (const std::string& option : o->commandOptions) {
        bool fits = false;
        for (const auto& f : kFits)
            if (option == f.option) fits = std::string(f.commands).find(" " + o->command + " ") != std::string::npos;
        if (!fits) {
            *problem = option + " does not go with " + o->command;
            return false;
        }
    }
    for (int column : o->sorts)
        if (column == SORT_REGION && o->regionList) {
            *problem = "--sort region: the region list has no region column";
            return false;
        }
    if (o->command == "aftershocks" && (!o->aftershocks.hasMain || o->aftershocks.radiusKm < 0 || o->aftershocks.days < 0)) {
        *problem = "aftershocks needs --main, --radius and --days";
        return false;
    }
    if (o->command == "aftershocks" && o->aftershocks.startDays >= o->aftershocks.days) {
        *problem = "--start-days must lie before --days";
        return false;
    }
    if (o->command == "replay" && !o->replay.frames) {
        *problem = "replay needs --frames DIR";
        return false;
    }
    if (o->command == "section" && !(o->section.hasFrom && o->section.hasTo)) {
        *problem = "section needs --from LAT,LON and --to LAT,LON";
        return false;
    }
    if (o->command == "counts" && o->counts.period < 0) {
        *problem = "counts needs --by year|month|week|day";
        return false;
    }
    if (o->minMag > 0) o->backtest.minMag = o->minMag, o->aftershocks.minMag = o->minMag;
    return true;
}

static int UsageError(const std::string& problem) {
    fprintf(stderr, "wolt-cli: %s\n%s", problem.c_str(), kUsage);
    return EXIT_USAGE;
}

// The settings block as the program would start from: the file's block, or
// the defaults over a zeroed block.
static int LoadConditions(const Options& o) {
    ClearSettings();
    if (!o.settings) {
        SetDefaultSettings();
        return EXIT_OK;
    }
    FILE* file = OpenFile(o.settings, "rb");
    if (!file) {
        fprintf(stderr, "wolt-cli: cannot read the settings file %s: %s\n", o.settings,
                strerror(errno));
        return EXIT_NO_DATA;
    }
    long length = FileLength(file);
    fclose(file);
    if (ReadSettingsOnly(o.settings) != SETTINGS_LOADED)
        fprintf(stderr, "wolt-cli: the settings file %s is %ld bytes, not %d; using the defaults\n",
                o.settings, length, int(sizeof(SettingsBlock)));
    return EXIT_OK;
}

// The user's conditions pass the program's clamps: the date clamp of the
// period controls, then the filter clamps of the settings file.
static void ApplyOptions(const Options& o) {
    SettingsBlock s = AppSettings;
    if (o.hasFrom)
        s.startYear = o.from[0], s.startMonth = o.from[1], s.startDay = o.from[2],
        s.startHour = o.from[3], s.startMinute = o.from[4];
    if (o.hasTo)
        s.endYear = o.to[0], s.endMonth = o.to[1], s.endDay = o.to[2], s.endHour = o.to[3],
        s.endMinute = o.to[4];
    ClampDate(&s.startYear, &s.startMonth, &s.startDay, &s.startHour, &s.startMinute);
    ClampDate(&s.endYear, &s.endMonth, &s.endDay, &s.endHour, &s.endMinute);
    if (o.hasMag) s.magMin = o.mag[0], s.magMax = o.mag[1];
    if (o.hasDepth) s.depthMin = o.depth[0], s.depthMax = o.depth[1];
    if (o.hasIntensity) s.intMin = o.intensity[0], s.intMax = o.intensity[1];
    StoreConditions(s);
    ClampFilterSettings();
}

static void PrintDateTime(const char* key, int year, int month, int day, int hour, int minute) {
    printf("%s=%04d/%02d/%02d %02d:%02d\n", key, year, month, day, hour, minute);
}

static void PrintSummary() {
    const SettingsBlock& s = AppSettings;
    printf("recordCount=%d\ndataDays=%d\n", s.recordCount, s.dataDays);
    const DateTime& f = gDataFirst;
    const DateTime& l = gDataLast;
    PrintDateTime("dataFirst", f.year, f.month, f.day, f.hour, f.minute);
    PrintDateTime("dataLast", l.year, l.month, l.day, l.hour, l.minute);
    printf("lastFullYear=%d\nnewestFileSize=%d\n", s.lastFullYear, s.newestFileSize);
    PrintDateTime("periodStart", s.startYear, s.startMonth, s.startDay, s.startHour,
                  s.startMinute);
    PrintDateTime("periodEnd", s.endYear, s.endMonth, s.endDay, s.endHour, s.endMinute);
    printf("magMin=%d\nmagMax=%d\ndepthMin=%d\ndepthMax=%d\nintMin=%d\nintMax=%d\n", s.magMin,
           s.magMax, s.depthMin, s.depthMax, s.intMin, s.intMax);
    printf("selCount=%d\nselMaxMag10=%d\nselMeanMag10=%d\nselMeanDepth=%d\nselStrongRecent=%d\n",
           s.selCount, s.selMaxMag10, s.selMeanMag10, s.selMeanDepth, s.selStrongRecent);
    printf("selCount2=%d\nselFirst=%d\nselMaxMag10b=%d\nselMeanMag10b=%d\nselMeanDepthB=%d\n",
           s.selCount2, s.selFirst, s.selMaxMag10b, s.selMeanMag10b, s.selMeanDepthB);
    printf("selLastIndex=%d\nselFirstIndex=%d\ncurrentRecord=%d\n", s.selLastIndex,
           s.selFirstIndex, gCurrentRecord);
    printf("gM6DaysBeforeMonth=%d\ngM6MeanDayGap=%d\ngM6DuePercent=%.2f\n", gM6DaysBeforeMonth,
           gM6MeanDayGap, gM6DuePercent);
}

// Runs one writer on the -o file or the program's own file name.
static int WriteOutput(const Options& o, const std::string& defaultPath,
                       int (*write)(const Options&, const char*)) {
    const char* path = o.output ? o.output : defaultPath.c_str();
    errno = 0;
    if (write(o, path) != 0) {
        const char* reason = errno ? strerror(errno) : "it could not be written";
        fprintf(stderr, "wolt-cli: cannot write %s: %s\n", path, reason);
        return EXIT_NO_OUTPUT;
    }
    if (!o.output) printf("%s\n", path);
    return EXIT_OK;
}

static int AlertWriter(const Options&, const char* path) { return WriteAlertReport(path); }
static int RegionWriter(const Options&, const char* path) { return WriteRegionReport(gCurrentRecord, path); }

static int ListWriter(const Options& o, const char* path) {
    RecordList* list = o.regionList ? &gRegionList : &gConditionList;
    for (int column : o.sorts) SortList(list, column);
    if (o.format < 0) return SaveListText(list, o.regionList, gCurrentRecord, path);
    if (!o.output) MakeFolder("text");
    return WriteWhole(path, ListExportText(list, o.format));
}

// The list file's default name, with the format's extension.
static std::string ListPath(const Options& o) {
    return o.format < 0 ? ListTextPath(o.regionList, gCurrentRecord) : ListExportPath(o.regionList, gCurrentRecord, o.format);
}

// An analysis command with the -o and --svg files.
template <typename Command>
static int RunCommand(Command c, const Options& o, int (*run)(const Command&)) {
    c.csv = o.output, c.svg = o.svg;
    return run(c);
}

static int CliMain(int argc, char** argv) {
    Options o;
    std::string problem;
    if (!ParseArguments(argc, argv, &o, &problem)) return UsageError(problem);
    if (o.help) {
        printf("%s%s", kUsage, kHelp);
        return EXIT_OK;
    }
    if (o.hasNow) SetClockOverride(&o.now);

    int status = LoadConditions(o);
    if (status != EXIT_OK) return status;
    SetDataFolder(o.data);
    if (AllocateCatalogue() != 0 || OpenCatalogue() != EQSET_OK) {
        fprintf(stderr, "wolt-cli: cannot load the catalogue from %s: out of memory\n", o.data);
        return EXIT_NO_DATA;
    }
    if (!IsDirectory(o.data))
        fprintf(stderr, "wolt-cli: %s: no such folder; the catalogue is empty\n", o.data);
    ApplyOptions(o);
    if (AllocateList(&gConditionList) != 0 || AllocateList(&gRegionList) != 0) {
        fprintf(stderr, "wolt-cli: cannot allocate the record lists: out of memory\n");
        return EXIT_NO_DATA;
    }
    RunConditionChange();

    int current = AppSettings.selFirstIndex;
    if (o.record >= 0) {
        int records = DataEnd();
        if (o.record >= records) {
            char text[96];
            snprintf(text, sizeof text, "--record %d: the catalogue has %d records (0 is the newest)",
                     o.record, records);
            return UsageError(text);
        }
        current = o.record;
    }
    SelectRecord(current, SELECT_AFTER_FILTER);
    UpdateRegionPanelSummary(gCurrentRecord);
    UpdateRegionPageSummary(gCurrentRecord);

    if (o.command == "summary") {
        PrintSummary();
        return EXIT_OK;
    }
    if (o.command == "backtest") return RunCommand(o.backtest, o, RunBacktestCommand);
    if (o.command == "gr") return RunCommand(o.gr, o, RunGrCommand);
    if (o.command == "aftershocks") return RunCommand(o.aftershocks, o, RunAftershocksCommand);
    if (o.command == "counts") return RunCommand(o.counts, o, RunCountsCommand);
    if (o.command == "replay" || o.command == "section") {
        SectionCommand section = o.section;
        section.svg = o.output;
        status = o.command == "replay" ? RunReplayCommand(o.replay) : RunSectionCommand(section);
        if (status == EXIT_USAGE) fputs(kUsage, stderr);   // they refuse what only the data shows wrong
        return status;
    }
    if (o.command == "alert-report") return WriteOutput(o, AlertReportPath(), AlertWriter);
    if (o.command == "region-report") return WriteOutput(o, RegionReportPath(gCurrentRecord), RegionWriter);
    return WriteOutput(o, ListPath(o), ListWriter);
}

// The arguments arrive in UTF-8 on every platform (paths with Japanese names included).
static int Run(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>("wolt-cli")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    return CliMain(int(argv.size()), argv.data());
}

TOOL_MAIN(Run)
