// Waiting for something the desktop does in its own time.
#pragma once

#include <chrono>
#include <thread>

namespace test_support {

// Asks found() every 50 ms until it gives something true or the time is up,
// and returns its last answer.
template <typename Found>
auto Poll(double seconds, Found found) -> decltype(found()) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    auto result = found();
    if (result || std::chrono::steady_clock::now() > deadline) return result;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace test_support
