// Named pipes without a writer, for checking that a reader refuses them at once instead of
// waiting for a writer that never comes.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace zenavo::testing {

// Makes a named pipe at `path` (nobody writes to it).
inline std::string MakeFifo(const std::string& path) {
  if (::mkfifo(path.c_str(), 0600) != 0) ADD_FAILURE() << "cannot make the named pipe " << path;
  return path;
}

// Runs `action`, which may open the named pipes `fifos`, and fails the test when it has not
// returned within `limit`. A reader still waiting on one of them is then freed (a writer opens
// the pipe and goes away, so the reader sees the end of the file), so the test ends either way.
inline void ExpectReturnsWithoutAWriter(const std::vector<std::string>& fifos,
                                        const std::function<void()>& action,
                                        std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  std::promise<void> returned;
  bool freed = false;
  std::thread watchdog([&, done = returned.get_future()] {
    if (done.wait_for(limit) == std::future_status::ready) return;
    freed = true;
    do {
      for (const std::string& fifo : fifos) {
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) ::close(writer);
      }
    } while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready);
  });
  const auto finish = [&] {
    returned.set_value();
    watchdog.join();
  };
  try {
    action();
  } catch (...) {
    finish();
    throw;
  }
  finish();
  if (freed) ADD_FAILURE() << "still waiting on a named pipe after " << limit.count() << " ms";
}

}  // namespace zenavo::testing
