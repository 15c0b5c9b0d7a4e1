#include "base/atomic_write.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "support/child_process.h"
#include "support/temp_folder.h"

namespace zenavo {
namespace {

using zenavo::testing::RunOnFullDisk;
using zenavo::testing::RunUnprivileged;
using zenavo::testing::TempFolder;

// The names in a folder (hidden ones included), so a temporary file left behind shows.
std::set<std::string> NamesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

struct stat StatusOf(const std::string& path) {
  struct stat info {};
  ::lstat(path.c_str(), &info);
  return info;
}

// Where the bytes land for each kind of target, and what stays as it was.
TEST(WriteFileAtomically, WritesTheFileTheNameLeadsTo) {
  const struct {
    const char* name;
    std::function<void(const TempFolder&)> setUp;  // makes "out" (and what it leads to)
    const char* written;                           // the file that must hold the new bytes
    std::set<std::string> names;                   // the folder afterwards
  } cases[] = {
      {"newFile", [](const TempFolder&) {}, "out", {"out"}},
      {"regularFileReplaced", [](const TempFolder& f) { f.Write("out", "old contents"); }, "out",
       {"out"}},
      {"symbolicLink",
       [](const TempFolder& f) {
         f.Write("target", "old");
         ::symlink("target", (f.Path() + "out").c_str());
       },
       "target", {"out", "target"}},
      {"linkToALinkInAnotherFolder",
       [](const TempFolder& f) {
         ::mkdir((f.Path() + "sub").c_str(), 0755);
         f.Write("sub/target", "old");
         ::symlink("target", (f.Path() + "sub/link").c_str());  // relative to sub/
         ::symlink((f.Path() + "sub/link").c_str(), (f.Path() + "out").c_str());
       },
       "sub/target", {"out", "sub"}},
      {"danglingLinkCreatesItsTarget",
       [](const TempFolder& f) { ::symlink("target", (f.Path() + "out").c_str()); }, "target",
       {"out", "target"}},
      {"aLinkPlantedAtTheOldPredictableTemporaryName",
       [](const TempFolder& f) {
         f.Write("victim", "precious");
         const std::string planted = f.Path() + "out.tmp" + std::to_string(::getpid());
         ::symlink((f.Path() + "victim").c_str(), planted.c_str());
       },
       "out", {"out", "out.tmp" + std::to_string(::getpid()), "victim"}},
  };
  // Flushed to disk or not, a file is written the same way.
  for (const Durability durability : {Durability::kFlushToDisk, Durability::kReadersOnly})
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SCOPED_TRACE(durability == Durability::kFlushToDisk ? "flushed" : "not flushed");
    TempFolder folder;
    c.setUp(folder);
    const bool outWasLink = S_ISLNK(StatusOf(folder.Path() + "out").st_mode);
    WriteFileAtomically(folder.Path() + "out", "new\r\n", durability);
    EXPECT_EQ(folder.Read(c.written), "new\r\n");
    EXPECT_EQ(S_ISLNK(StatusOf(folder.Path() + "out").st_mode), outWasLink);
    EXPECT_EQ(NamesIn(folder.Path()), c.names);
    if (folder.Exists("victim")) {
      EXPECT_EQ(folder.Read("victim"), "precious");
    }
    if (folder.Exists("sub")) {
      EXPECT_EQ(NamesIn(folder.Path() + "sub"), (std::set<std::string>{"link", "target"}));
    }
  }
}

TEST(WriteFileAtomically, AReplacedFileKeepsItsPermissionsAndOwner) {
  TempFolder folder;
  const std::string path = folder.Write("out", "old");
  ::chmod(path.c_str(), 0640);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  }
  const ino_t oldInode = StatusOf(path).st_ino;
  WriteFileAtomically(path, "new");
  const struct stat info = StatusOf(path);
  EXPECT_NE(info.st_ino, oldInode) << "replaced by a rename, not rewritten in place";
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
  }
  // A new file gets what a plain create gives: 0666 less the umask.
  const mode_t mask = ::umask(022);
  WriteFileAtomically(folder.Path() + "fresh", "x");
  ::umask(mask);
  EXPECT_EQ(StatusOf(folder.Path() + "fresh").st_mode & 07777, 0644u);
}

TEST(WriteFileAtomically, AFifoIsWrittenIntoAndKept) {
  TempFolder folder;
  const std::string fifo = folder.Path() + "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string bytes(300000, 'f');  // more than the pipe holds: the reader must drain it
  std::string received;
  std::thread reader([&] {
    std::ifstream in(fifo, std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), {});
  });
  WriteFileAtomically(fifo, bytes);
  reader.join();
  EXPECT_EQ(received, bytes);
  EXPECT_TRUE(S_ISFIFO(StatusOf(fifo).st_mode));
  EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"fifo"});
}

TEST(WriteFileAtomically, AFifoReaderThatGoesAwayIsAWriteErrorNotASignal) {
  TempFolder folder;
  const std::string fifo = folder.Path() + "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread reader([&] {
    const int fd = ::open(fifo.c_str(), O_RDONLY);
    char byte;
    [[maybe_unused]] const ssize_t count = ::read(fd, &byte, 1);
    ::close(fd);
  });
  try {
    WriteFileAtomically(fifo, std::string(1 << 20, 'f'));
    ADD_FAILURE() << "no error";
  } catch (const AtomicWriteError& e) {
    EXPECT_EQ(e.Stage(), AtomicWriteError::kWrite);
    EXPECT_EQ(e.code().value(), EPIPE);
  }
  reader.join();
  EXPECT_TRUE(S_ISFIFO(StatusOf(fifo).st_mode));
}

// Device nodes of the test's own (the null and full devices' numbers), never the machine's
// /dev entries: written into, never replaced.
TEST(WriteFileAtomically, ADeviceIsWrittenIntoAndNeverReplaced) {
  TempFolder folder;
  const std::string null = folder.Path() + "null", full = folder.Path() + "full";
  if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
      ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
    GTEST_SKIP() << "cannot make device nodes here (needs root): " << std::strerror(errno);
  WriteFileAtomically(null, "discarded");
  EXPECT_TRUE(S_ISCHR(StatusOf(null).st_mode));
  try {
    WriteFileAtomically(full, "no room");
    ADD_FAILURE() << "no error";
  } catch (const AtomicWriteError& e) {
    EXPECT_EQ(e.Stage(), AtomicWriteError::kWrite);
    EXPECT_EQ(e.code().value(), ENOSPC);
    EXPECT_EQ(std::string(e.what()), "cannot write \"" + full + "\": No space left on device");
  }
  EXPECT_TRUE(S_ISCHR(StatusOf(full).st_mode));
  EXPECT_EQ(StatusOf(full).st_rdev, makedev(1, 7));
  EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::string>{"full", "null"}));
}

// Targets that cannot be created fail before anything is touched, as an unprivileged user.
TEST(WriteFileAtomically, WhatCannotBeCreatedFailsAndChangesNothing) {
  TempFolder folder;
  ::chmod(folder.Path().c_str(), 0755);
  ::mkdir((folder.Path() + "locked").c_str(), 0755);
  folder.Write("locked/kept", "kept");
  ::chmod((folder.Path() + "locked/kept").c_str(), 0666);  // writable, but its folder is not
  ::chmod((folder.Path() + "locked").c_str(), 0555);
  folder.Write("readonly", "kept");
  ::chmod((folder.Path() + "readonly").c_str(), 0444);
  ::mkdir((folder.Path() + "dir").c_str(), 0777);
  const struct {
    const char* name;
    int error;
  } cases[] = {
      {"missing/out", ENOENT}, {"dir", EISDIR},         {"locked/new", EACCES},
      {"locked/kept", EACCES}, {"readonly", EACCES},
  };
  const std::string report = RunUnprivileged([&] {
    std::string problems;
    for (const auto& c : cases) {
      try {
        WriteFileAtomically(folder.Path() + c.name, "new");
        problems += std::string(c.name) + ": no error; ";
      } catch (const AtomicWriteError& e) {
        if (e.Stage() != AtomicWriteError::kCreate || e.code().value() != c.error)
          problems += std::string(c.name) + ": " + e.what() + "; ";
      }
    }
    return problems;
  });
  EXPECT_EQ(report, "");
  EXPECT_EQ(folder.Read("locked/kept"), "kept");
  EXPECT_EQ(folder.Read("readonly"), "kept");
  EXPECT_EQ(NamesIn(folder.Path() + "locked"), std::set<std::string>{"kept"});
  EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::string>{"dir", "locked", "readonly"}));
  ::chmod((folder.Path() + "locked").c_str(), 0755);  // so the folder can be removed
}

TEST(WriteFileAtomically, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
  TempFolder folder;
  ::mkdir((folder.Path() + "small").c_str(), 0755);
  const std::string report = RunOnFullDisk(folder.Path() + "small", [](const std::string& small, int error) {
    const std::string path = small + "/out";
    WriteFileAtomically(path, "old contents");
    try {
      WriteFileAtomically(path, std::string(1 << 20, 'x'));
      return std::string("no error");
    } catch (const AtomicWriteError& e) {
      if (e.Stage() != AtomicWriteError::kWrite || e.code().value() != error)
        return std::string("wrong error: ") + e.what();
    }
    std::ifstream in(path, std::ios::binary);
    if (std::string(std::istreambuf_iterator<char>(in), {}) != "old contents") return std::string("old file changed");
    if (NamesIn(small) != std::set<std::string>{"out"}) return std::string("a temporary file was left");
    return std::string();
  });
  EXPECT_EQ(report, "");
}

}  // namespace
}  // namespace zenavo
