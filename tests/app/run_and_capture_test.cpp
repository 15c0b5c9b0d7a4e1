#include "app/run_and_capture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/exceptions.h"
#include "support/expect_error.h"
#include "support/temp_folder.h"

namespace zenavo {
namespace {

using zenavo::testing::ExpectError;
using zenavo::testing::TempFolder;

std::string WithoutSlash(const std::string& folder) { return folder.substr(0, folder.size() - 1); }

TEST(RunAndCapture, CapturesOutputAndErrorAndPassesWordsUnchanged) {
  TempFolder folder;
  folder.WriteScript("fake", "for a in \"$@\"; do echo \"[$a]\"; done\necho oops >&2\npwd\n");
  const CapturedRun run = RunAndCapture("fake 1  two > result.txt", folder.Path());
  // No shell: '>' and the file name arrive as arguments; runs of blanks separate once.
  EXPECT_EQ(run.Output, "[1]\n[two]\n[>]\n[result.txt]\noops\n" + WithoutSlash(folder.Path()) + "\n");
  EXPECT_EQ(run.ExitStatus, 0);
  EXPECT_FALSE(folder.Exists("result.txt"));
}

TEST(RunAndCapture, DrainsMegabytesWithoutBlocking) {
  TempFolder folder;
  folder.WriteScript("chatty", "head -c 5000000 /dev/zero | tr '\\0' x\nexit 3\n");
  const CapturedRun run = RunAndCapture("chatty", folder.Path());
  EXPECT_EQ(run.Output.size(), 5000000u);
  EXPECT_EQ(run.Output.find_first_not_of('x'), std::string::npos);
  EXPECT_EQ(run.ExitStatus, 3);
}

// Whether the process is gone: ended and reaped, or a zombie left to be reaped by another.
bool IsGone(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  return line.substr(line.rfind(')') + 2, 1) == "Z";
}

// A run never takes longer than its limit (10 s unless told): a calculator that does not end is
// stopped with every process it started; one that leaves a process holding its output open is
// done when it ends, and the process it left is stopped too.
TEST(RunAndCapture, EndsWithinTheTimeLimitAndLeavesNoProcessBehind) {
  EXPECT_EQ(kRunTimeLimit, std::chrono::seconds(10));
  const struct {
    const char* name;
    const char* script;  // writes the ids of its processes to "pids"
    bool stopped;        // stopped at the limit rather than ended
    std::string output;
  } cases[] = {
      {"neverEnds", "echo $$ > pids\nsleep 30 &\necho $! >> pids\necho started\nwait\n", true, ""},
      {"leavesAProcessHoldingItsOutput",
       "echo $$ > pids\nsleep 30 &\necho $! >> pids\necho started\nexit 4\n", false, "started\n"},
  };
  constexpr std::chrono::milliseconds kLimit{500};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    folder.WriteScript("magc", c.script);
    const auto start = std::chrono::steady_clock::now();
    if (c.stopped) {
      ExpectError<Exception>([&] { RunAndCapture("magc", folder.Path(), "", kLimit); },
                             "magc did not finish within 0.5 s and was stopped.");
    } else {
      const CapturedRun run = RunAndCapture("magc", folder.Path(), "", kLimit);
      EXPECT_EQ(run.Output, c.output);
      EXPECT_EQ(run.ExitStatus, 4);
    }
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(3));
    EXPECT_EQ(took >= kLimit, c.stopped);
    std::istringstream pids(folder.Read("pids"));
    int count = 0;
    for (pid_t pid; pids >> pid; ++count) {
      for (int i = 0; i < 200 && !IsGone(pid); ++i) ::usleep(10000);
      EXPECT_TRUE(IsGone(pid)) << "process " << pid << " still runs";
    }
    EXPECT_EQ(count, 2);
  }
}

TEST(RunAndCapture, ANulByteCutsItsChunk) {
  TempFolder folder;
  folder.WriteScript("nul", "printf 'ab\\000cd'\n");
  EXPECT_EQ(RunAndCapture("nul", folder.Path()).Output, "ab");
}

TEST(RunAndCapture, ProgramsAreFoundInTheProgramFolderFirstThenOnThePath) {
  TempFolder work, programs;
  EXPECT_EQ(RunAndCapture("echo from-path", work.Path()).Output, "from-path\n");
  work.WriteScript("echo", "printf 'from-working-folder\\n'\n");
  EXPECT_EQ(RunAndCapture("echo x", work.Path()).Output, "from-working-folder\n");
  // With a program folder of its own, the program comes from there and runs in the working folder.
  programs.WriteScript("echo", "printf 'from-program-folder in %s\\n' \"$(pwd)\"\n");
  EXPECT_EQ(RunAndCapture("echo x", work.Path(), programs.Path()).Output,
            "from-program-folder in " + WithoutSlash(work.Path()) + "\n");
  EXPECT_EQ(RunAndCapture("cat /dev/null", work.Path(), programs.Path()).ExitStatus, 0);
}

// A program named relative to the caller's folder (by a path, or by "." in PATH) is the
// caller's, although the child runs in another folder.
TEST(RunAndCapture, RelativeProgramPathsAreTheCallersNotTheWorkingFolders) {
  TempFolder work, programs;
  programs.WriteScript("tool", "echo ran\n");
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(programs.Path());
  const std::string byPath = RunAndCapture("./tool", work.Path()).Output;
  const std::string byRelativeProgramFolder = RunAndCapture("tool", work.Path(), ".").Output;
  std::filesystem::current_path(saved);
  EXPECT_EQ(byPath, "ran\n");
  EXPECT_EQ(byRelativeProgramFolder, "ran\n");
}

TEST(RunAndCapture, AProgramThatCannotStartFailsWithTheMessage) {
  TempFolder folder;
  folder.Write("not-executable", "#!/bin/sh\necho hi\n");
  for (const char* command : {"no-such-program-here 1 2", "not-executable", "", "   "})
    ExpectError<Exception>([&] { RunAndCapture(command, folder.Path()); },
                           "Could not execute command line!");
}

}  // namespace
}  // namespace zenavo
