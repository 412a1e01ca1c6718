#include "platform/SingleInstanceGuard.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace korvane {
namespace {

std::string UniqueName() { return "KorvaneTest-" + std::to_string(::getpid()); }

TEST(SingleInstanceGuard, SecondHolderIsRefusedUntilTheFirstEnds) {
  std::optional<SingleInstanceGuard> first(std::in_place, UniqueName());
  EXPECT_FALSE(first->AlreadyRunning());
  EXPECT_TRUE(SingleInstanceGuard(UniqueName()).AlreadyRunning());
  EXPECT_FALSE(SingleInstanceGuard(UniqueName() + "-other").AlreadyRunning());
  first.reset();
  EXPECT_FALSE(SingleInstanceGuard(UniqueName()).AlreadyRunning());
}

TEST(SingleInstanceGuard, IsReleasedWhenItsHolderIsKilled) {
  const std::string name = UniqueName();
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
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace korvane
