// CPU time of this program and of another process (the X server), for the
// panel benchmark's CPU seconds per wall second.
#pragma once

#include <sys/types.h>

#include <optional>

namespace zent::bench {

// User plus system CPU seconds of this process so far, all threads.
double OwnCpuSeconds();

// User plus system CPU seconds of process Pid so far, read from
// /proc/<Pid>/stat (in clock ticks, so to 1/_SC_CLK_TCK s); nothing when
// the process is gone or its file cannot be read.
std::optional<double> ProcessCpuSeconds(pid_t Pid);

}  // namespace zent::bench
