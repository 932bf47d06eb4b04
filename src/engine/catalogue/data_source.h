// Where the program gets its earthquakes: the national seismic intensity
// database's search service (the default) or a wolt data server. A plain text
// file beside the program (wolt-source.txt) chooses, without rebuilding:
//
//   # lines "name = value"; a # begins a comment
//   source = search               search (default) or server
//   search-url = https://...      the search service, or a mirror or stand-in of it
//   search-delay = 3              seconds between requests to it
//   server-host = example.org     the data server (source = server)
//   server-port = 443
//
// A missing or unreadable file means the defaults; a bad line is reported
// and ignored.
#pragma once

#include <string>
#include <vector>

enum DataSourceKind {
    SOURCE_SEARCH = 0,
    SOURCE_SERVER = 1,
};

struct DataSource {
    int kind = SOURCE_SEARCH;
    std::string searchUrl;            // the national service unless the file names another
    double searchDelaySeconds = 3;
    std::string serverHost;
    int serverPort = 443;
};

extern const char* const kDataSourceFile;   // "wolt-source.txt"

// The defaults changed by the file's lines; `problems` gets one line per bad
// line ("wolt-source.txt:3: ..."). Never fails.
DataSource ReadDataSource(const char* utf8Path, std::vector<std::string>* problems);

// The source the program uses (the defaults until SetDataSource).
void SetDataSource(const DataSource& source);
const DataSource& CurrentDataSource();

// The host name shown beside the title on the map ("www.data.jma.go.jp").
std::string DataSourceSite();
// The page the About dialog opens: the data server's top page
// ("https://HOST[:PORT]/wolt/") or the search service's site.
std::string DataSourceTopPage();
