#include "panel_cpu.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace zent::bench {

namespace {
double Seconds(const timeval& T) {
    return double(T.tv_sec) + double(T.tv_usec) * 1e-6;
}
}  // namespace

double OwnCpuSeconds() {
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return Seconds(Usage.ru_utime) + Seconds(Usage.ru_stime);
}

std::optional<double> ProcessCpuSeconds(pid_t Pid) {
    std::ifstream File("/proc/" + std::to_string(Pid) + "/stat");
    std::string Line;
    if (!std::getline(File, Line)) return std::nullopt;
    // The command name in field 2 may hold spaces and parentheses: the fields
    // are counted from the last ')'. Field 3 (state) comes first, utime and
    // stime are fields 14 and 15.
    const auto NameEnd = Line.rfind(')');
    if (NameEnd == std::string::npos) return std::nullopt;
    std::istringstream Fields(Line.substr(NameEnd + 1));
    std::string Skipped;
    for (int Field = 3; Field < 14; ++Field) Fields >> Skipped;
    unsigned long long UserTicks = 0, SystemTicks = 0;
    if (!(Fields >> UserTicks >> SystemTicks)) return std::nullopt;
    return double(UserTicks + SystemTicks) / double(sysconf(_SC_CLK_TCK));
}

}  // namespace zent::bench
