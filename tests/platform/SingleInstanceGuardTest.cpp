#include "platform/SingleInstanceGuard.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace korvane {
namespace {

// Held by another process: refused; that process killed: free again.
TEST(SingleInstanceGuard, IsHeldUntilItsHolderEndsHoweverItEnds) {
  const std::string name = "KorvaneTest-" + std::to_string(::getpid());
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SingleInstanceGuard held(name);
    const char flag = held.AlreadyRunning() ? 'n' : 'y';
    (void)!::write(ready[1], &flag, 1);
    ::pause();
    ::_exit(0);
  }
  char flag = 0;
  ASSERT_EQ(::read(ready[0], &flag, 1), 1);
  EXPECT_EQ(flag, 'y');
  EXPECT_TRUE(SingleInstanceGuard(name).AlreadyRunning());
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_FALSE(SingleInstanceGuard(name).AlreadyRunning());
}

}  // namespace
}  // namespace korvane
