// The single-instance lock: one holder per working folder however its path is
// spelled, the system's file lock shared with other programs, a lock let go when its
// holder dies, the specified wait, and a clear refusal without the Exec folder.
// No Qt: the same tests run on Linux and, against the Win32 guard, on Windows.
#include "platform/instance_guard.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <system_error>
#include <thread>

#include "base/file_layer.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// A profile with the working folder "work" and its Exec folder.
struct Profile {
  Profile() { folder.MakeFolder("work/Exec"); }
  std::string Base(const std::string& relative = "") const { return JoinPath(folder.Path(), "work/" + relative); }
  TempFolder folder;
};

TEST(InstanceGuard, OneHolderPerWorkingFolderHoweverItsPathIsSpelled) {
  const Profile profile;
  const Profile other;
  InstanceGuard first(profile.Base());
  ASSERT_TRUE(first.Acquire(milliseconds(0)));
  EXPECT_EQ(first.LockPath(), profile.Base("Exec/Vantrose.LCK"));
  std::vector<std::string> spellings = {profile.Base(), JoinPath(profile.folder.Path(), "./work/"),
                                        JoinPath(profile.folder.Path(), "work/../work/")};
  std::error_code noLink;
  fs::create_directory_symlink(profile.Base(), JoinPath(profile.folder.Path(), "linked"), noLink);
  if (!noLink) spellings.push_back(JoinPath(profile.folder.Path(), "linked/"));  // where the system makes links
  for (const std::string& spelling : spellings) {
    InstanceGuard second(spelling);
    EXPECT_FALSE(second.Acquire(milliseconds(50))) << spelling;
  }
  InstanceGuard elsewhere(other.Base());  // another working folder never waits for this one
  EXPECT_TRUE(elsewhere.Acquire(milliseconds(0)));
}

#ifndef _WIN32
// The lock is the system's own file lock: another process holding it (a shell that
// locks the file with flock(1) and goes on as "sleep") keeps the program out, and
// when that holder is killed the lock is free.
TEST(InstanceGuard, TheLockOfAHolderThatDiesIsTakenOver) {
  const Profile profile;
  const std::string lock = profile.Base("Exec/Vantrose.LCK");
  profile.folder.Write("work/Exec/Vantrose.LCK", "");
  const char* arguments[] = {"sh", "-c", "exec 9<\"$0\" && flock 9 && exec sleep 60", lock.c_str(), nullptr};
  pid_t holder = 0;
  ASSERT_EQ(posix_spawnp(&holder, "sh", nullptr, nullptr, const_cast<char**>(arguments), environ), 0);
  bool heldElsewhere = false;
  for (int attempt = 0; attempt < 250 && !heldElsewhere; ++attempt) {
    InstanceGuard probe(profile.Base());
    heldElsewhere = !probe.Acquire(milliseconds(0));
    if (!heldElsewhere) std::this_thread::sleep_for(milliseconds(20));  // flock(1) may not have the lock yet
  }
  InstanceGuard guard(profile.Base());
  EXPECT_TRUE(heldElsewhere);
  EXPECT_FALSE(guard.Acquire(milliseconds(100)));
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(guard.Acquire(milliseconds(0)));
}
#endif

TEST(InstanceGuard, ASecondStartWaitsTheSpecifiedTimeAndGetsALockLetGoMeanwhile) {
  const Profile profile;
  auto first = std::make_unique<InstanceGuard>(profile.Base());
  ASSERT_TRUE(first->Acquire(milliseconds(0)));

  InstanceGuard refused(profile.Base());
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(refused.Acquire(kInstanceWait));
  EXPECT_GE(std::chrono::steady_clock::now() - start, kInstanceWait);

  std::thread ending([&first] {
    std::this_thread::sleep_for(milliseconds(300));
    first.reset();
  });
  InstanceGuard waiting(profile.Base());
  start = std::chrono::steady_clock::now();
  EXPECT_TRUE(waiting.Acquire(kInstanceWait));
  EXPECT_LT(std::chrono::steady_clock::now() - start, kInstanceWait);
  ending.join();
}

TEST(InstanceGuard, WithoutTheExecFolderTheLockIsAClearError) {
  TempFolder profile;
  const std::string base = profile.MakeFolder("work");
  InstanceGuard guard(base);
  try {
    guard.Acquire(kInstanceWait);
    ADD_FAILURE() << "took a lock without an Exec folder";
  } catch (const IoError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file \"" + JoinPath(base, "Exec/Vantrose.LCK") + "\". " +
                                             std::generic_category().message(ENOENT));
  }
}

// A link planted where the lock file goes is replaced, never followed: nothing
// outside the working folder is created or changed.
TEST(InstanceGuard, ALinkAtTheLockFileIsNotFollowed) {
  for (const bool dangling : {false, true}) {
    SCOPED_TRACE(dangling ? "dangling link" : "link to a file");
    const Profile profile;
    const std::string outside = profile.folder.Write("outside/victim", "the user's file");
    const std::string target = dangling ? JoinPath(profile.folder.Path(), "outside/created") : outside;
    std::error_code noLink;
    fs::create_symlink(target, profile.Base("Exec/Vantrose.LCK"), noLink);
    if (noLink) GTEST_SKIP() << "this system makes no symbolic link here: " << noLink.message();
    InstanceGuard guard(profile.Base());
    EXPECT_TRUE(guard.Acquire(milliseconds(0)));
    EXPECT_FALSE(fs::is_symlink(profile.Base("Exec/Vantrose.LCK")));
    EXPECT_EQ(profile.folder.Read("outside/victim"), "the user's file");
    EXPECT_FALSE(profile.folder.Exists("outside/created"));
    InstanceGuard second(profile.Base());
    EXPECT_FALSE(second.Acquire(milliseconds(0)));
  }
}

}  // namespace
