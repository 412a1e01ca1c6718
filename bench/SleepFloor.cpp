// SPDX-License-Identifier: MIT
// What a thread costs that only sleeps one polling period at a time, as the receive loop
// does between its reads: the floor of an idle copy's CPU time on this machine.
// Prints the thread's run time in milliseconds per second of wall time.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

long long RunTimeNs() {
  std::ifstream schedstat("/proc/thread-self/schedstat");
  long long ns = 0;
  schedstat >> ns;
  return ns;
}

}  // namespace

int main(int argc, char** argv) {
  const int periods = argc > 1 ? std::atoi(argv[1]) : 50;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const auto began = std::chrono::steady_clock::now();
  const long long before = RunTimeNs();
  for (int i = 0; i < periods; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const long long after = RunTimeNs();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("%.4f\n", static_cast<double>(after - before) / 1e6 / seconds);
  return 0;
}
