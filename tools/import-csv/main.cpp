// import-csv: turns CSV exports of felt earthquakes into a Data folder.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "csv_import.h"
#include "platform/tool_main.h"

static int Usage() {
    std::fprintf(stderr,
                 "usage: import-csv --out DIR FILE.csv...\n"
                 "  Reads every FILE (UTF-8 or Shift-JIS; one earthquake per row: date, time,\n"
                 "  region, latitude, longitude, depth, magnitude, maximum intensity) and\n"
                 "  replaces the catalogue files of DIR with them. Other files in DIR stay.\n");
    return 2;
}

static int Run(const std::vector<std::string>& args) {
    std::string out;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); i++) {
        if (args[i] == "--out" && i + 1 < args.size())
            out = args[++i];
        else if (args[i].compare(0, 2, "--") == 0)
            return Usage();
        else
            files.push_back(args[i]);
    }
    if (out.empty() || files.empty()) return Usage();

    ImportState state;
    for (const std::string& file : files) {
        std::string bytes;
        if (ReadWholeFile(file, &bytes) != 0) {
            std::fprintf(stderr, "import-csv: cannot read %s; nothing was written\n", file.c_str());
            return 1;
        }
        int result = ImportCsvText(file, bytes, &state);
        if (result == IMPORT_BAD_ENCODING) {
            std::fprintf(stderr, "import-csv: %s is neither UTF-8 nor Shift-JIS text; nothing was written\n",
                         file.c_str());
            return 1;
        }
        if (result == IMPORT_BAD_HEADER) {
            std::fprintf(stderr,
                         "import-csv: %s: the header row lacks one of the columns date, region, latitude, "
                         "longitude, depth, magnitude, intensity; nothing was written\n",
                         file.c_str());
            return 1;
        }
    }
    for (const ImportRejection& r : state.rejected)
        std::fprintf(stderr, "%s:%d: rejected: %s\n", r.file.c_str(), r.line, r.reason.c_str());

    ImportResult result;
    FinishImport(state, &result);
    const std::vector<QuakeRecord>& records = result.records;
    if (records.empty()) {
        std::fprintf(stderr, "import-csv: no earthquake to import; nothing was written\n");
        return 1;
    }
    int commit = CommitDataFolder(out, records, result.regions);
    if (commit != COMMIT_OK) {
        std::fprintf(stderr, "import-csv: %s; %s is unchanged\n",
                     commit == COMMIT_NOT_A_FOLDER ? "the output exists and is not a folder"
                     : commit == COMMIT_WRITE_FAILED ? "writing the new folder failed"
                                                     : "the new folder could not be put in place",
                     out.c_str());
        return 1;
    }
    std::printf("import-csv: %d rows, %d records written to %s (%d to %d)\n", state.rows, int(records.size()),
                out.c_str(), records.back().year, records.front().year);
    std::printf("  rejected %d, left out without magnitude %d, over capacity %d, unknown positions %d, "
                "positions off the map %d, day only (stored at 00:00) %d\n",
                int(state.rejected.size()), state.withoutMagnitude, result.dropped, state.unknownPositions,
                state.offMap, state.timeUnknown);
    for (const auto& n : result.addedRegions)
        std::printf("  new region: %s (%d events)\n", n.first.c_str(), n.second.events);
    for (const auto& n : result.filedRegions)
        std::printf("  not in the full region table: %s -> %s (%d events)\n",
                    n.first.empty() ? "(no name)" : n.first.c_str(), n.second.region.c_str(), n.second.events);
    return 0;
}

TOOL_MAIN(Run)
