#include "engine/rules/data_server.h"

#if !defined(WOLT_DATA_HOST) || !defined(WOLT_DATA_PORT)
#error "WOLT_DATA_HOST and WOLT_DATA_PORT are set by the build (see CMakeLists.txt)"
#endif

const char* const kDataServerHost = WOLT_DATA_HOST;
const int kDataServerPort = WOLT_DATA_PORT;

const std::string& DataServerTopPage() {
    static const std::string page =
        std::string("https://") + kDataServerHost +
        (kDataServerPort == 443 ? std::string() : ":" + std::to_string(kDataServerPort)) + "/wolt/";
    return page;
}
