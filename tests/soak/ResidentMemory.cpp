#include "soak/ResidentMemory.h"

#include <fstream>
#include <string>

namespace vistrel::soak {
namespace {

double statusFieldMiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    while (status >> name) {
        if (name == field + ":") {
            double kib = 0;
            status >> kib;
            return kib / 1024.0;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

}  // namespace

double residentMiB() { return statusFieldMiB("VmRSS"); }
double peakResidentMiB() { return statusFieldMiB("VmHWM"); }

}  // namespace vistrel::soak
