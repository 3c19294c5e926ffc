#include "files/RenameFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "FileTestSupport.h"
#include "files/CopyFile.h"
#include "files/FileIdentity.h"
#include "files/Folders.h"
#include "support/TempFolder.h"

namespace tonvault::files {
namespace {

using test::Contents;
using test::Info;
using test::LinkInfo;
using test::Names;
using test::Plant;

constexpr time_t kOldDate = 1'000'000'000;  // September 2001

// Renaming, moving and copying files: nothing replaced unless asked, and
// the file that arrives is the one that left, dates included.
class RenameFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }
  // A folder on another file system, when the system has one at hand.
  std::optional<std::string> OtherFileSystem() {
    if (!other) {
      std::error_code error;
      if (!std::filesystem::is_directory("/dev/shm", error) || ::access("/dev/shm", W_OK) != 0) return std::nullopt;
      if (Info("/dev/shm").st_dev == Info(folder.Path()).st_dev) return std::nullopt;
      other = "/dev/shm/tonvault-test-" + std::to_string(::getpid()) + "-" + std::filesystem::path(folder.Path()).filename().string();
      std::filesystem::create_directories(*other);
    }
    return other;
  }
  void TearDown() override {
    std::error_code ignored;
    if (other) std::filesystem::remove_all(*other, ignored);
  }
  tonvault::testing::TempFolder folder;
  std::optional<std::string> other;
};

TEST_F(RenameFileTest, RenameExclusiveNeverReplaces) {
  Plant(Path("a.mp3"), "a");
  Plant(Path("b.mp3"), "b");
  ASSERT_EQ(::symlink("nowhere.mp3", Path("dangling.mp3").c_str()), 0);
  for (const char* taken : {"b.mp3", "dangling.mp3"}) {
    SCOPED_TRACE(taken);
    const auto refused = RenameExclusive(Path("a.mp3"), Path(taken));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->failure, Failure::AlreadyExists);
  }
  EXPECT_EQ(Contents(Path("a.mp3")), "a");
  EXPECT_EQ(Contents(Path("b.mp3")), "b");
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("dangling.mp3")).st_mode));
  EXPECT_FALSE(std::filesystem::exists(Path("nowhere.mp3")));

  ASSERT_FALSE(RenameExclusive(Path("a.mp3"), Path("a.mp3 ")));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"a.mp3 ", "b.mp3", "dangling.mp3"}));
  const auto missing = RenameExclusive(Path("a.mp3"), Path("c.mp3"));
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->failure, Failure::NotFound);
}

TEST_F(RenameFileTest, CopyKeepsTheDatesAndReplacesOnlyTheTarget) {
  Plant(Path("source.mp3"), "song");
  test::SetTimes(Path("source.mp3"), kOldDate);
  ASSERT_FALSE(CopyFile(Path("source.mp3"), Path("copy.mp3")));
  EXPECT_EQ(Contents(Path("copy.mp3")), "song");
  EXPECT_EQ(Info(Path("copy.mp3")).st_mtim.tv_sec, kOldDate);
  EXPECT_EQ(Info(Path("source.mp3")).st_mtim.tv_sec, kOldDate);

  // Onto a link: the file it leads to takes the copy and its date; the link stays.
  Plant(Path("target.mp3"), "previous");
  ASSERT_EQ(::symlink("target.mp3", Path("link.mp3").c_str()), 0);
  ASSERT_FALSE(CopyFile(Path("source.mp3"), Path("link.mp3")));
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("link.mp3")).st_mode));
  EXPECT_EQ(Contents(Path("target.mp3")), "song");
  EXPECT_EQ(Info(Path("target.mp3")).st_mtim.tv_sec, kOldDate);

  // A failed copy leaves the target as it was, dates included.
  test::SetTimes(Path("copy.mp3"), kOldDate + 100);
  Plant(Path("bigger.mp3"), std::string(100'000, 'b'));
  const WriteFault fault{.failAfterBytes = 50'000};
  EXPECT_TRUE(CopyFile(Path("bigger.mp3"), Path("copy.mp3"), &fault));
  EXPECT_EQ(Contents(Path("copy.mp3")), "song");
  EXPECT_EQ(Info(Path("copy.mp3")).st_mtim.tv_sec, kOldDate + 100);
  EXPECT_EQ(Names(folder.Path()),
            (std::vector<std::string>{"bigger.mp3", "copy.mp3", "link.mp3", "source.mp3", "target.mp3"}));
}

// A backup copy: never over an existing file (not even a dangling link),
// and never seen half written.
TEST_F(RenameFileTest, ExclusiveCopyAppearsWholeOrNotAtAll) {
  Plant(Path("song.mp3"), std::string(100'000, 's'), 0640);
  test::SetTimes(Path("song.mp3"), kOldDate);
  ASSERT_FALSE(CopyFileExclusive(Path("song.mp3"), Path("song.bak")));
  EXPECT_EQ(Contents(Path("song.bak")), Contents(Path("song.mp3")));
  EXPECT_EQ(Info(Path("song.bak")).st_mtim.tv_sec, kOldDate);
  EXPECT_EQ(Info(Path("song.bak")).st_mode & 0777, NewFileMode(0640));

  Plant(Path("song.mp3"), "newer");
  const auto again = CopyFileExclusive(Path("song.mp3"), Path("song.bak"));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->failure, Failure::AlreadyExists);
  EXPECT_EQ(Contents(Path("song.bak")).size(), 100'000u);
  ASSERT_EQ(::symlink("nowhere", Path("dangling.bak").c_str()), 0);
  EXPECT_EQ(CopyFileExclusive(Path("song.mp3"), Path("dangling.bak"))->failure, Failure::AlreadyExists);

  const WriteFault fault{.failAfterBytes = 3};
  EXPECT_TRUE(CopyFileExclusive(Path("song.mp3"), Path("other.bak"), &fault));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"dangling.bak", "song.bak", "song.mp3"}));
}

TEST_F(RenameFileTest, NewCopyIsNoMoreOpenThanItsSourceAndTheUmask) {
  Plant(Path("private.mp3"), "private", 0600);
  Plant(Path("shared.mp3"), "shared", 0666);
  Plant(Path("program.sh"), "#!/bin/sh\n", 04755);
  ASSERT_EQ(::chmod(Path("program.sh").c_str(), 04755), 0);
  const mode_t saved = ::umask(027);
  const auto first = CopyFile(Path("private.mp3"), Path("private copy.mp3"));
  const auto second = CopyFile(Path("shared.mp3"), Path("shared copy.mp3"));
  const auto third = CopyFile(Path("program.sh"), Path("program copy.sh"));
  ::umask(saved);
  ASSERT_FALSE(first);
  ASSERT_FALSE(second);
  ASSERT_FALSE(third);
  EXPECT_EQ(Info(Path("private copy.mp3")).st_mode & 07777, 0600u);
  EXPECT_EQ(Info(Path("shared copy.mp3")).st_mode & 07777, 0640u);
  EXPECT_EQ(Info(Path("program copy.sh")).st_mode & 07777, 0750u);
}

TEST_F(RenameFileTest, CopyOntoItselfKeepsTheContent) {
  Plant(Path("song.mp3"), std::string(3 << 20, 's'));
  ASSERT_EQ(::symlink("song.mp3", Path("link.mp3").c_str()), 0);
  ASSERT_FALSE(CopyFile(Path("song.mp3"), Path("song.mp3")));
  ASSERT_FALSE(CopyFile(Path("song.mp3"), Path("link.mp3")));
  ASSERT_EQ(::link(Path("song.mp3").c_str(), Path("hard.mp3").c_str()), 0);
  ASSERT_FALSE(CopyFile(Path("hard.mp3"), Path("song.mp3")));
  EXPECT_TRUE(Contents(Path("song.mp3")) == std::string(3 << 20, 's'));
  EXPECT_EQ(Info(Path("hard.mp3")).st_nlink, 2u);
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"hard.mp3", "link.mp3", "song.mp3"}));
}

TEST_F(RenameFileTest, MoveWithinAFileSystemRefusesAnExistingTargetUnlessAsked) {
  Plant(Path("a.mp3"), "a");
  Plant(Path("b.mp3"), "b");
  const auto refused = MoveFile(Path("a.mp3"), Path("b.mp3"), false);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->failure, Failure::AlreadyExists);
  EXPECT_EQ(Contents(Path("a.mp3")), "a");
  EXPECT_EQ(Contents(Path("b.mp3")), "b");
  ASSERT_FALSE(MoveFile(Path("a.mp3"), Path("b.mp3"), true));
  EXPECT_EQ(Contents(Path("b.mp3")), "a");
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"b.mp3"}));
}

TEST_F(RenameFileTest, MoveToAnotherFileSystemCopiesTheFileWithItsDatesAndPermissions) {
  const auto elsewhere = OtherFileSystem();
  if (!elsewhere) GTEST_SKIP() << "no second file system at hand";
  const std::string moved = *elsewhere + "/moved.mp3";
  const std::string taken = *elsewhere + "/taken.mp3";
  Plant(Path("song.mp3"), std::string(3 << 20, 's'), 0600);
  test::SetTimes(Path("song.mp3"), kOldDate);
  Plant(taken, "taken");

  const auto refused = MoveFile(Path("song.mp3"), taken, false);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->failure, Failure::AlreadyExists);
  EXPECT_EQ(Contents(taken), "taken");
  EXPECT_TRUE(std::filesystem::exists(Path("song.mp3")));

  ASSERT_FALSE(MoveFile(Path("song.mp3"), moved, false));
  EXPECT_FALSE(std::filesystem::exists(Path("song.mp3")));
  EXPECT_EQ(Contents(moved), std::string(3 << 20, 's'));
  EXPECT_EQ(Info(moved).st_mtim.tv_sec, kOldDate);
  // A private file stays private, as a rename would have kept it.
  EXPECT_EQ(Info(moved).st_mode & 07777, 0600u);

  ASSERT_FALSE(MoveFile(moved, Path("back.mp3"), false));
  ASSERT_FALSE(MoveFile(Path("back.mp3"), taken, true));
  EXPECT_EQ(Contents(taken), std::string(3 << 20, 's'));
  EXPECT_EQ(Info(taken).st_mtim.tv_sec, kOldDate);
  EXPECT_EQ(Names(*elsewhere), (std::vector<std::string>{"taken.mp3"}));
  EXPECT_TRUE(Names(folder.Path()).empty());
}

TEST_F(RenameFileTest, FailedMoveToAnotherFileSystemKeepsTheSource) {
  const auto elsewhere = OtherFileSystem();
  if (!elsewhere) GTEST_SKIP() << "no second file system at hand";
  ASSERT_EQ(::mkfifo(Path("fifo.mp3").c_str(), 0644), 0);
  Plant(Path("song.mp3"), "song");
  EXPECT_TRUE(MoveFile(Path("song.mp3"), *elsewhere + "/missing/song.mp3", false));
  EXPECT_TRUE(MoveFile(Path("fifo.mp3"), *elsewhere + "/fifo.mp3", false));
  EXPECT_EQ(Contents(Path("song.mp3")), "song");
  EXPECT_TRUE(S_ISFIFO(LinkInfo(Path("fifo.mp3")).st_mode));
  EXPECT_TRUE(Names(*elsewhere).empty());

  // A source whose folder the user may not change cannot be moved: the
  // move fails whole and leaves no copy behind.
  if (::geteuid() != 0) return;
  ASSERT_EQ(::chmod(elsewhere->c_str(), 0777), 0);
  ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
  const std::string source = Path("song.mp3");
  const std::string target = *elsewhere + "/song.mp3";
  EXPECT_NE(test::RunAsNobody([&] { return test::ExitCodeOf(MoveFile(source, target, false)); }), 0);
  EXPECT_EQ(Contents(Path("song.mp3")), "song");
  EXPECT_TRUE(Names(*elsewhere).empty());
}

TEST_F(RenameFileTest, RemoveTakesExactlyTheNameGiven) {
  Plant(Path("a.mp3"), "a");
  Plant(Path("a.mp3 "), "blank");
  Plant(Path("target.mp3"), "target");
  ASSERT_EQ(::symlink("target.mp3", Path("link.mp3").c_str()), 0);
  ASSERT_FALSE(RemoveFile(Path("a.mp3 ")));
  ASSERT_FALSE(RemoveFile(Path("link.mp3")));
  EXPECT_TRUE(RemoveFile(Path("a.mp3 ")));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"a.mp3", "target.mp3"}));
}

TEST_F(RenameFileTest, EmptyingAFolderKeepsItAndWhatItsLinksPointTo) {
  ASSERT_EQ(::mkdir(Path("store").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(Path("store/Music").c_str(), 0755), 0);
  Plant(Path("store/Music/song.mp3"), "song");
  Plant(Path("outside.mp3"), "mine");
  ASSERT_EQ(::symlink(Path("outside.mp3").c_str(), Path("store/link.mp3").c_str()), 0);
  EXPECT_FALSE(RemoveFolderContents(Path("store")));
  struct stat info {};
  EXPECT_EQ(::stat(Path("store").c_str(), &info), 0);
  EXPECT_NE(::lstat(Path("store/Music").c_str(), &info), 0);
  EXPECT_NE(::lstat(Path("store/link.mp3").c_str(), &info), 0);
  EXPECT_EQ(Contents(Path("outside.mp3")), "mine");
  EXPECT_TRUE(RemoveFolderContents(Path("missing")));
}

TEST_F(RenameFileTest, FoldersAreMadeThroughExistingOnesButNeverOverAFile) {
  EXPECT_FALSE(MakeFolders(Path("a/b/c")));
  EXPECT_FALSE(MakeFolders(Path("a/b")));
  Plant(Path("a/file"), "mine");
  EXPECT_TRUE(MakeFolders(Path("a/file")));
  EXPECT_TRUE(MakeFolders(Path("a/file/below")));
  EXPECT_EQ(Contents(Path("a/file")), "mine");
}

TEST_F(RenameFileTest, RemovingAFolderTakesItsTreeButNotWhatItsLinksPointTo) {
  ASSERT_FALSE(MakeFolders(Path("copies/inner")));
  Plant(Path("copies/inner/list.tvp"), "list");
  Plant(Path("outside.tvp"), "mine");
  ASSERT_EQ(::symlink(Path("outside.tvp").c_str(), Path("copies/link.tvp").c_str()), 0);
  EXPECT_FALSE(RemoveFolder(Path("copies")));
  struct stat info {};
  EXPECT_NE(::lstat(Path("copies").c_str(), &info), 0);
  EXPECT_EQ(Contents(Path("outside.tvp")), "mine");
  EXPECT_TRUE(RemoveFolder(Path("missing")));
}

}  // namespace
}  // namespace tonvault::files
