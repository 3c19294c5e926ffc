#include "files/TemporaryFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <thread>
#include <vector>
#include <string>

#include "FileTestSupport.h"
#include "files/ReplaceFile.h"
#include "support/TempFolder.h"

namespace tonvault::files {
namespace {

using test::Contents;
using test::Names;
using test::Plant;

// Temporary files of a replacement: where they go, when a leftover of a
// crashed run is removed, and that one of a running writer is not.
class TemporaryFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }
  std::string Slot(const std::string& target, int slot) const {
    return TemporaryFile::SlotPath(folder.Path(), target, slot);
  }
  tonvault::testing::TempFolder folder;
};

TEST_F(TemporaryFileTest, SlotNamesAreShortHiddenAndDifferPerTarget) {
  const std::string longName(250, 'n');
  const std::string slot = TemporaryFile::SlotPath("/f", longName, 0);
  EXPECT_EQ(slot.rfind("/f/.", 0), 0u);
  EXPECT_LT(slot.size(), 40u);
  EXPECT_EQ(TemporaryFile::SlotPath("/f", std::string(2, 'n'), 0).size(), slot.size());
  EXPECT_NE(TemporaryFile::SlotPath("/f", "a.mp3", 0), TemporaryFile::SlotPath("/f", "a.mp3 ", 0));
  EXPECT_NE(TemporaryFile::SlotPath("/f", "a.mp3", 0), TemporaryFile::SlotPath("/f", "a.mp3", 1));
}

TEST_F(TemporaryFileTest, StaleLeftoverIsRemovedAtTheNextWriteOfTheSameFile) {
  Plant(Path("song.mp3"), "old");
  Plant(Path("other.mp3"), "other");
  const std::time_t hourAgo = std::time(nullptr) - 3600;
  Plant(Slot("song.mp3", 0), std::string(10'000, 'c'), 0600);
  test::SetTimes(Slot("song.mp3", 0), hourAgo);
  Plant(Slot("song.mp3", TemporaryFile::kSlots - 1), "crashed too", 0600);
  test::SetTimes(Slot("song.mp3", TemporaryFile::kSlots - 1), hourAgo);
  Plant(Slot("other.mp3", 0), "another file's", 0600);
  test::SetTimes(Slot("other.mp3", 0), hourAgo);

  ASSERT_FALSE(WriteWholeFile(Path("song.mp3"), "new"));
  EXPECT_EQ(Contents(Path("song.mp3")), "new");
  EXPECT_FALSE(std::filesystem::exists(Slot("song.mp3", 0)));
  EXPECT_FALSE(std::filesystem::exists(Slot("song.mp3", TemporaryFile::kSlots - 1)));
  // Only leftovers of the file written go: the other's waits for its own write.
  EXPECT_TRUE(std::filesystem::exists(Slot("other.mp3", 0)));
  ASSERT_FALSE(WriteWholeFile(Path("other.mp3"), "new"));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"other.mp3", "song.mp3"}));
}

TEST_F(TemporaryFileTest, TemporaryFileOfARunningWriterIsKept) {
  Plant(Path("song.mp3"), "old");
  // Just created: its writer may not have taken the lock yet.
  Plant(Slot("song.mp3", 0), "", 0600);
  // Old, but locked by a writer that is still at work.
  Plant(Slot("song.mp3", 1), "being written", 0600);
  test::SetTimes(Slot("song.mp3", 1), std::time(nullptr) - 3600);
  const int held = ::open(Slot("song.mp3", 1).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  ASSERT_FALSE(WriteWholeFile(Path("song.mp3"), "new"));
  EXPECT_EQ(Contents(Path("song.mp3")), "new");
  EXPECT_EQ(Contents(Slot("song.mp3", 0)), "");
  EXPECT_EQ(Contents(Slot("song.mp3", 1)), "being written");
  ::close(held);
}

TEST_F(TemporaryFileTest, PlantedLinksAndFifosAtTemporaryNamesAreNeitherFollowedNorWaitedFor) {
  Plant(Path("song.mp3"), "old");
  Plant(Path("victim"), "victim's");
  const std::time_t hourAgo = std::time(nullptr) - 3600;
  ASSERT_EQ(::symlink(Path("victim").c_str(), Slot("song.mp3", 0).c_str()), 0);
  test::SetTimes(Slot("song.mp3", 0), hourAgo);
  ASSERT_EQ(::mkfifo(Slot("song.mp3", 1).c_str(), 0600), 0);
  test::SetTimes(Slot("song.mp3", 1), hourAgo);
  ASSERT_EQ(::link(Path("victim").c_str(), Slot("song.mp3", 2).c_str()), 0);

  const std::string target = Path("song.mp3");
  EXPECT_EQ(test::RunInChild([&target] { return test::ExitCodeOf(WriteWholeFile(target, "new")); }), 0);
  EXPECT_EQ(Contents(Path("song.mp3")), "new");
  EXPECT_EQ(Contents(Path("victim")), "victim's");
  EXPECT_TRUE(S_ISLNK(test::LinkInfo(Slot("song.mp3", 0)).st_mode));
}

TEST_F(TemporaryFileTest, WritersOfTheSameFileAtOnceEachReplaceItWhole) {
  Plant(Path("settings.ini"), "old");
  constexpr int kWriters = 6;
  std::vector<std::thread> writers;
  std::atomic<int> failures{0};
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([this, w, &failures] {
      const std::string content(100'000 + w, static_cast<char>('a' + w));
      for (int round = 0; round < 20; ++round) {
        if (WriteWholeFile(Path("settings.ini"), content)) ++failures;
      }
    });
  }
  for (auto& writer : writers) writer.join();
  EXPECT_EQ(failures, 0);
  const std::string last = Contents(Path("settings.ini"));
  ASSERT_GE(last.size(), 100'000u);
  EXPECT_EQ(last, std::string(last.size(), static_cast<char>('a' + (last.size() - 100'000))));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"settings.ini"}));
}

// A writer killed with SIGKILL halfway through a long replacement: the old
// file is whole, and the next write of the same file leaves nothing of the
// dead writer's behind.
TEST_F(TemporaryFileTest, KilledWriterLeavesTheOldFileAndNothingAfterTheNextWrite) {
  std::string old;
  for (int i = 0; i < 100'000; ++i) old += std::to_string(i) + ",";
  Plant(Path("catalogue.tvd"), old);
  Plant(Path("h1.tvd"), old);
  ASSERT_EQ(::link(Path("h1.tvd").c_str(), Path("h2.tvd").c_str()), 0);

  for (const char* name : {"catalogue.tvd", "new.tvd", "h1.tvd"}) {
    SCOPED_TRACE(name);
    const std::string target = Path(name);
    int started[2];
    ASSERT_EQ(::pipe(started), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      ::close(started[0]);
      ReplaceFile(target, [&started](const ContentWriter& write) {
        const std::string block(1 << 16, 'k');
        for (int i = 0; i < 1'000'000; ++i) {
          if (!write(block.data(), block.size())) return false;
          if (i == 16) (void)!::write(started[1], "s", 1);  // a megabyte is out
          const timespec pause{0, 1'000'000};
          ::nanosleep(&pause, nullptr);
        }
        return true;
      });
      ::_exit(0);
    }
    ::close(started[1]);
    pollfd wait{started[0], POLLIN, 0};
    const bool writing = ::poll(&wait, 1, 30'000) == 1;
    ::kill(writer, SIGKILL);
    int status = 0;
    ::waitpid(writer, &status, 0);
    ::close(started[0]);
    ASSERT_TRUE(writing) << "the writer never got going";
    ASSERT_TRUE(WIFSIGNALED(status));

    // Compared without printing: a mismatch would dump half a megabyte.
    EXPECT_TRUE(Contents(Path("h2.tvd")) == old);
    if (std::string(name) == "new.tvd") {
      EXPECT_FALSE(std::filesystem::exists(target));
    } else {
      EXPECT_TRUE(Contents(target) == old);
    }

    ASSERT_FALSE(WriteWholeFile(target, "after"));
    EXPECT_EQ(Contents(target), "after");
    if (std::string(name) == "h1.tvd") {
      EXPECT_EQ(Contents(Path("h2.tvd")), "after");
    }
    for (const std::string& left : Names(folder.Path())) {
      EXPECT_EQ(left.find(".tonvault"), std::string::npos) << left;
    }
  }
}

}  // namespace
}  // namespace tonvault::files
