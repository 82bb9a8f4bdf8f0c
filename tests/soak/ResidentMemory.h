#pragma once
// The resident memory of this process, from /proc/self/status, in MiB.

namespace vistrel::soak {

double residentMiB();      // VmRSS now
double peakResidentMiB();  // VmHWM: the most it has been

}  // namespace vistrel::soak
