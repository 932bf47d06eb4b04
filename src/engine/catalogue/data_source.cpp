#include "engine/catalogue/data_source.h"

#include <cstdlib>

#include "engine/catalogue/data_files.h"
#include "engine/catalogue/event_text.h"
#include "engine/catalogue/search_source.h"

const char* const kDataSourceFile = "wolt-source.txt";

static DataSource Defaults() {
    DataSource s;
    s.searchUrl = kJmaEndpoint;
    return s;
}

static DataSource sSource = Defaults();

void SetDataSource(const DataSource& source) { sSource = source; }
const DataSource& CurrentDataSource() { return sSource; }

// A whole number or decimal in [low, high]; false for anything else.
static bool ReadNumber(const std::string& text, double low, double high, double* out) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v >= low && v <= high)) return false;
    *out = v;
    return true;
}

static bool IsWebAddress(const std::string& url) {
    return (url.compare(0, 7, "http://") == 0 && url.size() > 7) || (url.compare(0, 8, "https://") == 0 && url.size() > 8);
}

// Applies one "name = value" line; the reason when it is bad, else "".
static std::string ApplyLine(const std::string& name, const std::string& value, DataSource* s) {
    double number;
    if (name == "source") {
        if (value == "search") s->kind = SOURCE_SEARCH;
        else if (value == "server") s->kind = SOURCE_SERVER;
        else return "source must be search or server";
    } else if (name == "search-url") {
        if (!IsWebAddress(value)) return "search-url must begin with http:// or https://";
        s->searchUrl = value;
    } else if (name == "search-delay") {
        if (!ReadNumber(value, 0, 600, &number)) return "search-delay must be a number of seconds from 0 to 600";
        s->searchDelaySeconds = number;
    } else if (name == "server-host") {
        if (value.empty() || value.find_first_of("/: \t") != std::string::npos) return "server-host must be a host name";
        s->serverHost = value;
    } else if (name == "server-port") {
        if (!ReadNumber(value, 1, 65535, &number) || number != int(number)) return "server-port must be 1 to 65535";
        s->serverPort = int(number);
    } else {
        return "unknown name \"" + name + "\"";
    }
    return std::string();
}

DataSource ReadDataSource(const char* utf8Path, std::vector<std::string>* problems) {
    DataSource s = Defaults();
    std::string text;
    if (ReadWholeFile(utf8Path, &text) != 0) return s;
    int lineNumber = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        lineNumber++;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        line = TrimText(line);
        if (line.empty()) continue;
        const size_t equals = line.find('=');
        std::string why = equals == std::string::npos
                              ? "expected \"name = value\""
                              : ApplyLine(TrimText(line.substr(0, equals)), TrimText(line.substr(equals + 1)), &s);
        if (!why.empty()) problems->push_back(std::string(kDataSourceFile) + ":" + std::to_string(lineNumber) + ": " + why);
    }
    if (s.kind == SOURCE_SERVER && s.serverHost.empty()) {
        problems->push_back(std::string(kDataSourceFile) + ": source = server needs server-host; using the search service");
        s.kind = SOURCE_SEARCH;
    }
    return s;
}

// "scheme://host[:port]" of an address.
static std::string SiteOf(const std::string& url, bool withScheme) {
    const size_t start = url.find("://");
    if (start == std::string::npos) return url;
    const size_t end = url.find('/', start + 3);
    const std::string site = url.substr(0, end);
    return withScheme ? site : site.substr(start + 3);
}

std::string DataSourceSite() {
    return sSource.kind == SOURCE_SERVER ? sSource.serverHost : SiteOf(sSource.searchUrl, false);
}

std::string DataSourceTopPage() {
    if (sSource.kind == SOURCE_SEARCH) return SiteOf(sSource.searchUrl, true) + "/";
    return "https://" + sSource.serverHost +
           (sSource.serverPort == 443 ? std::string() : ":" + std::to_string(sSource.serverPort)) + "/wolt/";
}
