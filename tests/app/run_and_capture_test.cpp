#include "app/run_and_capture.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "support/temp_folder.h"

namespace zenavo {
namespace {

using zenavo::testing::TempFolder;

TEST(RunAndCapture, CapturesOutputAndErrorAndPassesWordsUnchanged) {
  TempFolder folder;
  folder.WriteScript("fake", "for a in \"$@\"; do echo \"[$a]\"; done\necho oops >&2\npwd\n");
  std::string output = "stale";
  int status = -1;
  RunAndCapture("fake 1  two > result.txt", folder.Path(), output, &status);
  // No shell: '>' and the file name arrive as arguments; runs of blanks separate once.
  const std::string folderNoSlash = folder.Path().substr(0, folder.Path().size() - 1);
  EXPECT_EQ(output, "[1]\n[two]\n[>]\n[result.txt]\noops\n" + folderNoSlash + "\n");
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(folder.Exists("result.txt"));
}

TEST(RunAndCapture, DrainsMegabytesWithoutBlocking) {
  TempFolder folder;
  folder.WriteScript("chatty", "head -c 5000000 /dev/zero | tr '\\0' x\nexit 3\n");
  std::string output;
  int status = 0;
  RunAndCapture("chatty", folder.Path(), output, &status);
  EXPECT_EQ(output.size(), 5000000u);
  EXPECT_EQ(output.find_first_not_of('x'), std::string::npos);
  EXPECT_EQ(status, 3);
}

TEST(RunAndCapture, ANulByteCutsItsChunk) {
  TempFolder folder;
  folder.WriteScript("nul", "printf 'ab\\000cd'\n");
  std::string output;
  RunAndCapture("nul", folder.Path(), output);
  EXPECT_EQ(output, "ab");
}

TEST(RunAndCapture, ProgramsAreFoundInTheFolderFirstThenOnThePath) {
  TempFolder folder;
  std::string output;
  RunAndCapture("echo from-path", folder.Path(), output);
  EXPECT_EQ(output, "from-path\n");
  folder.WriteScript("echo", "printf 'from-folder\\n'\n");
  RunAndCapture("echo from-path", folder.Path(), output);
  EXPECT_EQ(output, "from-folder\n");
}

TEST(RunAndCapture, AProgramThatCannotStartFailsWithTheMessage) {
  TempFolder folder;
  folder.Write("not-executable", "#!/bin/sh\necho hi\n");
  for (const char* command : {"no-such-program-here 1 2", "not-executable", "", "   "}) {
    std::string output = "stale";
    try {
      RunAndCapture(command, folder.Path(), output);
      FAIL() << command;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Could not execute command line!");
    }
    EXPECT_EQ(output, "");
  }
}

}  // namespace
}  // namespace zenavo
