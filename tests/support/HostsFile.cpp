#include "tests/support/HostsFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace testing_support {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

bool HostsFileMapsToLoopback(const std::string& name) {
    std::ifstream hosts("/etc/hosts");
    std::string line;
    while (std::getline(hosts, line)) {
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string address, alias;
        fields >> address;
        if (address.rfind("127.", 0) != 0 && address != "::1")
            continue;
        while (fields >> alias)
            if (Lower(alias) == Lower(name))
                return true;
    }
    return false;
}

} // namespace testing_support
