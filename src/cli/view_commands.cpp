// wolt-cli replay and section: the program's two views of the selection
// written as files. replay: numbered PNG frames of the map with the replay's
// markers; section: the depth cross-section along a line as SVG.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis_commands.h"
#include "cli_common.h"
#include "engine/analysis/replay.h"
#include "engine/analysis/section.h"
#include "engine/catalogue/data_files.h"
#include "engine/catalogue/loader.h"
#include "engine/model/records.h"
#include "engine/picture/bmp_image.h"
#include "engine/picture/png_image.h"
#include "engine/picture/replay_frame.h"
#include "engine/picture/replay_picture.h"
#include "engine/picture/section_picture.h"
#include "engine/analysis/reports.h"
#include "engine/model/settings.h"
#include "platform/platform.h"

enum { kMaxFrames = 100000 };

static TexturedScreenVertex sQuads[kMarkerVertices];

int RunReplayCommand(const ReplayCommand& c) {
    const SettingsBlock& s = AppSettings;
    ReplayTimeline timeline;
    BuildReplayTimeline(gpEQ, DataEnd(), MinuteOf(s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute),
                        MinuteOf(s.endYear, s.endMonth, s.endDay, s.endHour, s.endMinute), &timeline);
    const double perFrame = ReplayMinutes(c.daysPerSecond, 1.0 / c.fps);
    const double frames = std::ceil((timeline.endMinute - timeline.startMinute) / perFrame) + 1;
    if (frames > kMaxFrames) {
        std::fprintf(stderr, "wolt-cli: replay: %.0f frames, more than %d; choose a higher --speed, a lower --fps "
                             "or a shorter period\n", frames, int(kMaxFrames));
        return EXIT_USAGE;
    }
    const std::string mapPath = std::string(DataFolder()) + "/MAP01_512.bmp";
    BmpImage map{};
    if (ReadBmp(mapPath.c_str(), &map) != BMP_OK || map.width < kFrameSide || map.height < kFrameSide) {
        std::fprintf(stderr, "wolt-cli: replay: cannot read the map image %s\n", mapPath.c_str());
        if (map.pixels) FreeBmp(&map);
        return EXIT_NO_DATA;
    }
    if (!IsDirectory(c.frames) && MakeFolder(c.frames) != 0) {
        std::fprintf(stderr, "wolt-cli: replay: cannot create the folder %s\n", c.frames);
        FreeBmp(&map);
        return EXIT_NO_OUTPUT;
    }
    std::fprintf(stderr, "wolt-cli: replay: %.0f frames of %zu earthquakes into %s\n", frames, timeline.records.size(),
                 c.frames);
    ReplayMarkers markers;
    ResetReplayMarkers(&markers, sQuads);
    const double flash = ReplayMinutes(c.daysPerSecond, kReplayFlashMs / 1000.0);
    std::vector<unsigned char> rgb;
    int status = EXIT_OK;
    const int total = int(frames);
    for (int k = 0; k < total && status == EXIT_OK; k++) {
        const double clock = std::fmin(timeline.endMinute, timeline.startMinute + k * perFrame);
        const int used = StepReplayMarkers(timeline, gpEQ, clock, flash, &markers, sQuads);
        const long long minute = (long long)clock;
        int year, month, day;
        CivilFromDays(minute / 1440, &year, &month, &day);
        char stamp[64], name[32];
        std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d  %d", year, month, day, int(minute % 1440 / 60),
                      int(minute % 60), ReplayVisibleCount(timeline, clock));
        RenderReplayFrame(map, sQuads, used, stamp, &rgb);
        std::snprintf(name, sizeof name, "/frame_%06d.png", k + 1);
        status = WriteText((std::string(c.frames) + name).c_str(), EncodePng(rgb.data(), kFrameSide, kFrameSide));
        if (total >= 20 && (k + 1) % (total / 20) == 0) std::fprintf(stderr, "  %d / %d frames\n", k + 1, total);
    }
    FreeBmp(&map);
    if (status == EXIT_OK) std::printf("%s: %d frames\n", c.frames, total);
    return status;
}

int RunSectionCommand(const SectionCommand& c) {
    const std::string path = c.svg ? c.svg : SectionFilePath(".svg");
    Section section;
    const SectionLine line{c.from[0], c.from[1], c.to[0], c.to[1], c.widthKm};
    const int result = BuildSection(gpEQ, DataEnd(), line, &section);
    if (result != SECTION_OK) {
        static const char* const kWhy[] = {"", "the two ends lie less than 1 km apart",
                                           "--width must lie between 1 and 1000 km", "an end is not a latitude,longitude"};
        std::fprintf(stderr, "wolt-cli: section: %s\n", kWhy[result]);
        return EXIT_USAGE;
    }
    SectionPlot plot;
    LayoutSectionPlot(section, kSectionWidth, kSectionHeight, &plot);
    if (!c.svg) MakeFolder("text");
    const int status = WriteText(path.c_str(), SectionSvg(plot));
    if (status == EXIT_OK)
        std::printf("%s\nlength_km=%.1f\nwidth_km=%g\nevents=%zu\nmax_depth_km=%d\n", path.c_str(), section.lengthKm,
                    c.widthKm, section.events.size(), section.maxDepthKm);
    return status;
}
