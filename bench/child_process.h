// Runs one benchmark loop in a process of its own and collects what it
// reported, its peak resident set, and when it was started.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace bench {

struct Child_Result {
  bool ok = false;                            // exited with status 0
  std::int64_t started_ns = 0;                // CLOCK_MONOTONIC before fork
  long peak_rss_kib = 0;                      // the kernel's ru_maxrss
  std::map<std::string, std::string> values;  // its key=value lines

  double Number(const std::string& key) const;
};

Child_Result Run_Child(const std::vector<std::string>& command);

}  // namespace bench
