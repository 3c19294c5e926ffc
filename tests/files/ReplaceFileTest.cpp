#include "files/ReplaceFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "FileTestSupport.h"
#include "files/OpenFile.h"
#include "files/PathLinks.h"
#include "files/ReadWholeFile.h"
#include "files/RenameFile.h"
#include "support/TempFolder.h"

namespace tonvault::files {
namespace {

using test::Contents;
using test::Info;
using test::LinkInfo;
using test::Names;
using test::Plant;

class ReplaceFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }
  tonvault::testing::TempFolder folder;
};

// ---- What makes the file the same file: links, hard links ----------------

TEST_F(ReplaceFileTest, SymbolicLinksStayAndTheFileTheyLeadToChanges) {
  ASSERT_EQ(::mkdir(Path("music").c_str(), 0755), 0);
  Plant(Path("music/song.mp3"), "old");
  ASSERT_EQ(::symlink(Path("music/song.mp3").c_str(), Path("absolute.mp3").c_str()), 0);
  ASSERT_EQ(::symlink("music/song.mp3", Path("relative.mp3").c_str()), 0);
  // A chain whose second link is relative to its own folder, not to the first link's.
  ASSERT_EQ(::symlink("song.mp3", Path("music/inner.mp3").c_str()), 0);
  ASSERT_EQ(::symlink("music/inner.mp3", Path("chain.mp3").c_str()), 0);

  for (const char* name : {"absolute.mp3", "relative.mp3", "chain.mp3"}) {
    SCOPED_TRACE(name);
    const std::string content = std::string("new through ") + name;
    ASSERT_FALSE(WriteWholeFile(Path(name), content));
    EXPECT_TRUE(S_ISLNK(LinkInfo(Path(name)).st_mode));
    EXPECT_EQ(Contents(Path("music/song.mp3")), content);
  }
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("music/inner.mp3")).st_mode));
  EXPECT_EQ(Names(Path("music")), (std::vector<std::string>{"inner.mp3", "song.mp3"}));
}

TEST_F(ReplaceFileTest, RelativeNamesAndLinksInTheCurrentFolder) {
  Plant(Path("song.mp3"), "old");
  ASSERT_EQ(::symlink("song.mp3", Path("link.mp3").c_str()), 0);
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  const auto throughLink = WriteWholeFile("link.mp3", "new");
  const auto created = WriteWholeFile("fresh.mp3", "fresh");
  std::filesystem::current_path(saved);
  ASSERT_FALSE(throughLink);
  ASSERT_FALSE(created);
  EXPECT_EQ(Contents(Path("song.mp3")), "new");
  EXPECT_EQ(Contents(Path("fresh.mp3")), "fresh");
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("link.mp3")).st_mode));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"fresh.mp3", "link.mp3", "song.mp3"}));
}

TEST_F(ReplaceFileTest, DanglingLinkCreatesTheFileItNames) {
  ASSERT_EQ(::mkdir(Path("out").c_str(), 0755), 0);
  ASSERT_EQ(::symlink("out/list.m3u", Path("list.m3u").c_str()), 0);
  ASSERT_FALSE(WriteWholeFile(Path("list.m3u"), "#EXTM3U\n"));
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("list.m3u")).st_mode));
  EXPECT_TRUE(S_ISREG(LinkInfo(Path("out/list.m3u")).st_mode));
  EXPECT_EQ(Contents(Path("out/list.m3u")), "#EXTM3U\n");
}

TEST_F(ReplaceFileTest, LinkLoopIsRefusedAndLeftAsItIs) {
  ASSERT_EQ(::symlink("b.mp3", Path("a.mp3").c_str()), 0);
  ASSERT_EQ(::symlink("a.mp3", Path("b.mp3").c_str()), 0);
  ASSERT_EQ(::symlink("self.mp3", Path("self.mp3").c_str()), 0);
  for (const char* name : {"a.mp3", "self.mp3"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(WriteWholeFile(Path(name), "x"));
    std::string content;
    EXPECT_TRUE(ReadWholeFile(Path(name), content));
    OpenedFile opened;
    EXPECT_TRUE(OpenForReading(Path(name), opened));
    EXPECT_TRUE(OpenForPatch(Path(name), opened));
  }
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("a.mp3")).st_mode));
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("b.mp3")).st_mode));
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("self.mp3")).st_mode));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"a.mp3", "b.mp3", "self.mp3"}));
}

TEST_F(ReplaceFileTest, LinkPlantedInASharedStickyFolderByAnotherUserIsNotFollowed) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
  Plant(Path("victim.mp3"), "the victim's", 0644);
  // /tmp-like folders: one of ours, one of the other user's, and a plain
  // world-writable one without the sticky bit.
  for (const char* name : {"shared", "theirs", "open"}) ASSERT_EQ(::mkdir(Path(name).c_str(), 0700), 0);
  ASSERT_EQ(::chmod(Path("shared").c_str(), 01777), 0);
  ASSERT_EQ(::chown(Path("theirs").c_str(), test::kNobody, test::kNobody), 0);
  ASSERT_EQ(::chmod(Path("theirs").c_str(), 01777), 0);
  ASSERT_EQ(::chmod(Path("open").c_str(), 0777), 0);
  for (const char* name : {"shared/planted.mp3", "theirs/planted.mp3", "open/planted.mp3"}) {
    const std::string link = Path(name);
    ASSERT_EQ(test::RunAsNobody([&] { return ::symlink(Path("victim.mp3").c_str(), link.c_str()) == 0 ? 0 : 1; }), 0)
        << name;
    ASSERT_EQ(LinkInfo(link).st_uid, test::kNobody);
  }
  ASSERT_EQ(::symlink(Path("victim.mp3").c_str(), Path("shared/ours.mp3").c_str()), 0);

  std::string resolved;
  const FileStatus refused = ResolveLinks(Path("shared/planted.mp3"), resolved);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->code, EACCES);
  EXPECT_TRUE(WriteWholeFile(Path("shared/planted.mp3"), "overwritten"));
  EXPECT_EQ(Contents(Path("victim.mp3")), "the victim's");
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("shared/planted.mp3")).st_mode));
  EXPECT_EQ(Names(Path("shared")), (std::vector<std::string>{"ours.mp3", "planted.mp3"}));

  // Our own link, a link of the folder's owner, and any link where the
  // folder is not sticky lead where they point.
  for (const char* name : {"shared/ours.mp3", "theirs/planted.mp3", "open/planted.mp3"}) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(ResolveLinks(Path(name), resolved));
    EXPECT_EQ(resolved, Path("victim.mp3"));
    ASSERT_FALSE(WriteWholeFile(Path(name), std::string("through ") + name));
    EXPECT_EQ(Contents(Path("victim.mp3")), std::string("through ") + name);
    EXPECT_TRUE(S_ISLNK(LinkInfo(Path(name)).st_mode));
  }
}

TEST_F(ReplaceFileTest, HardLinksStayInStep) {
  Plant(Path("h1.mp3"), std::string(5000, 'o'));
  ASSERT_EQ(::link(Path("h1.mp3").c_str(), Path("h2.mp3").c_str()), 0);
  const ino_t inode = Info(Path("h1.mp3")).st_ino;

  // Longer, then shorter: the old tail must not survive in the shared file.
  ASSERT_FALSE(WriteWholeFile(Path("h1.mp3"), std::string(9000, 'L')));
  EXPECT_EQ(Contents(Path("h2.mp3")), std::string(9000, 'L'));
  ASSERT_FALSE(WriteWholeFile(Path("h2.mp3"), "short"));
  EXPECT_EQ(Contents(Path("h1.mp3")), "short");

  EXPECT_EQ(Info(Path("h1.mp3")).st_ino, inode);
  EXPECT_EQ(Info(Path("h2.mp3")).st_nlink, 2u);
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"h1.mp3", "h2.mp3"}));
}

// ---- A failed write -------------------------------------------------------

TEST_F(ReplaceFileTest, FailedWriteLeavesTheOldFileAndNothingBesideIt) {
  const std::string old(200'000, 'o');
  Plant(Path("song.mp3"), old);
  Plant(Path("h1.mp3"), old);
  ASSERT_EQ(::link(Path("h1.mp3").c_str(), Path("h2.mp3").c_str()), 0);
  ASSERT_EQ(::symlink("song.mp3", Path("link.mp3").c_str()), 0);

  for (const std::size_t failAfter : {std::size_t{0}, std::size_t{70'000}, std::size_t{300'000}}) {
    SCOPED_TRACE(failAfter);
    const WriteFault fault{.failAfterBytes = failAfter};
    for (const char* name : {"song.mp3", "h1.mp3", "link.mp3", "new.mp3"}) {
      SCOPED_TRACE(name);
      const auto failed = WriteWholeFile(Path(name), std::string(250'000, 'n'), &fault);
      ASSERT_TRUE(failed);
      EXPECT_EQ(failed->failure, Failure::System);
    }
    // A producer that gives up (its source could not be read).
    const auto unread = ReplaceFile(Path("song.mp3"), [](const ContentWriter& write) {
      write("partial", 7);
      return false;
    });
    ASSERT_TRUE(unread);
    EXPECT_EQ(unread->failure, Failure::ReadFailed);

    EXPECT_EQ(Contents(Path("song.mp3")), old);
    EXPECT_EQ(Contents(Path("h1.mp3")), old);
    EXPECT_EQ(Contents(Path("h2.mp3")), old);
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"h1.mp3", "h2.mp3", "link.mp3", "song.mp3"}));
  }
}

// A file with several names is rewritten in place; when the new, longer
// content does not fit (a full disk, a file size limit), not a byte of the
// old content may be overwritten before that is known. The size limit is set
// once the temporary copy is complete, so only the rewrite meets it.
TEST_F(ReplaceFileTest, HardLinkedFileThatCannotGrowKeepsItsOldContent) {
  const std::string old(1 << 20, 'o');
  Plant(Path("h1.mp3"), old);
  ASSERT_EQ(::link(Path("h1.mp3").c_str(), Path("h2.mp3").c_str()), 0);
  const std::string target = Path("h1.mp3");
  const auto written = test::RunInChild([&target, &old] {
    ::signal(SIGXFSZ, SIG_IGN);
    const auto status = ReplaceFile(target, [&old](const ContentWriter& write) {
      const std::string content(3 << 20, 'n');
      if (!write(content.data(), content.size())) return false;
      const rlimit limit{old.size(), old.size()};
      return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    return test::ExitCodeOf(status);
  });
  EXPECT_EQ(written, test::ExitCodeOf(Failure::System));
  EXPECT_TRUE(Contents(Path("h2.mp3")) == old) << "the old content was overwritten";
  EXPECT_EQ(Info(Path("h1.mp3")).st_nlink, 2u);
}

// ---- Permissions and owners -----------------------------------------------

TEST_F(ReplaceFileTest, ReadOnlyFileInAWritableFolderIsRefusedUnchanged) {
  Plant(Path("locked.mp3"), "keep me", 0444);
  ASSERT_EQ(::symlink("locked.mp3", Path("link.mp3").c_str()), 0);
  const struct stat before = Info(Path("locked.mp3"));

  // Root may write any file; a file nobody may write is still refused.
  for (const char* name : {"locked.mp3", "link.mp3"}) {
    SCOPED_TRACE(name);
    const auto refused = WriteWholeFile(Path(name), "changed");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->failure, Failure::WriteProtected);
    OpenedFile opened;
    const auto patch = OpenForPatch(Path(name), opened);
    ASSERT_TRUE(patch);
    EXPECT_EQ(patch->failure, Failure::WriteProtected);
  }
  EXPECT_EQ(Contents(Path("locked.mp3")), "keep me");
  const struct stat after = Info(Path("locked.mp3"));
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("link.mp3")).st_mode));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"link.mp3", "locked.mp3"}));
}

TEST_F(ReplaceFileTest, FileOfAnotherUserIsRefusedToAUserWhoMayOnlyWriteTheFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  ASSERT_EQ(::chmod(folder.Path().c_str(), 0777), 0);
  Plant(Path("roots.mp3"), "root's", 0644);
  Plant(Path("readonly.mp3"), "nobody's", 0444);
  ASSERT_EQ(::chown(Path("readonly.mp3").c_str(), test::kNobody, test::kNobody), 0);

  EXPECT_EQ(test::RunAsNobody([this] { return test::ExitCodeOf(WriteWholeFile(Path("roots.mp3"), "x")); }),
            test::ExitCodeOf(Failure::WriteProtected));
  EXPECT_EQ(test::RunAsNobody([this] { return test::ExitCodeOf(WriteWholeFile(Path("readonly.mp3"), "x")); }),
            test::ExitCodeOf(Failure::WriteProtected));
  EXPECT_EQ(Contents(Path("roots.mp3")), "root's");
  EXPECT_EQ(Info(Path("roots.mp3")).st_uid, 0u);
  EXPECT_EQ(Contents(Path("readonly.mp3")), "nobody's");
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"readonly.mp3", "roots.mp3"}));
}

TEST_F(ReplaceFileTest, OwnerGroupAndModeAreKept) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
  Plant(Path("theirs.mp3"), "old", 0640);
  ASSERT_EQ(::chown(Path("theirs.mp3").c_str(), test::kNobody, test::kNobody), 0);
  Plant(Path("group.mp3"), "old", 02660);
  ASSERT_EQ(::chown(Path("group.mp3").c_str(), test::kNobody, test::kNobody), 0);
  ASSERT_EQ(::chmod(Path("group.mp3").c_str(), 02660), 0);  // chown cleared it

  for (const char* name : {"theirs.mp3", "group.mp3"}) {
    SCOPED_TRACE(name);
    const mode_t mode = Info(Path(name)).st_mode;
    ASSERT_FALSE(WriteWholeFile(Path(name), "new"));
    const struct stat after = Info(Path(name));
    EXPECT_EQ(Contents(Path(name)), "new");
    EXPECT_EQ(after.st_uid, test::kNobody);
    EXPECT_EQ(after.st_gid, test::kNobody);
    EXPECT_EQ(after.st_mode, mode);
  }
}

TEST_F(ReplaceFileTest, SetUserIdIsDroppedWhenTheOwnerCannotBeKept) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to own the file and to act as another user";
  // A world-writable set-user-ID file of root in a folder anyone may change:
  // another user who rewrites it must not end up with a set-user-ID file of
  // their own (nor root with one of theirs).
  ASSERT_EQ(::chmod(folder.Path().c_str(), 0777), 0);
  Plant(Path("suid.mp3"), "old", 04777);
  ASSERT_EQ(::chmod(Path("suid.mp3").c_str(), 04777), 0);
  Plant(Path("sgid.mp3"), "old", 02777);
  ASSERT_EQ(::chmod(Path("sgid.mp3").c_str(), 02777), 0);
  // With a second name the file is written through its inode and stays
  // root's; the bit must go all the same.
  Plant(Path("linked.mp3"), "old", 04777);
  ASSERT_EQ(::chmod(Path("linked.mp3").c_str(), 04777), 0);
  ASSERT_EQ(::link(Path("linked.mp3").c_str(), Path("second.mp3").c_str()), 0);

  for (const char* name : {"suid.mp3", "sgid.mp3", "linked.mp3"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(test::RunAsNobody([this, name] { return test::ExitCodeOf(WriteWholeFile(Path(name), "nobody's")); }), 0);
    const struct stat after = Info(Path(name));
    EXPECT_EQ(Contents(Path(name)), "nobody's");
    EXPECT_EQ(after.st_mode & 07000, 0u) << std::oct << after.st_mode;
    EXPECT_EQ(after.st_mode & 0777, 0777u) << std::oct << after.st_mode;
  }
  EXPECT_NE(Info(Path("suid.mp3")).st_uid, 0u);  // it could not stay root's
  EXPECT_EQ(Info(Path("linked.mp3")).st_uid, 0u);
  EXPECT_EQ(Contents(Path("second.mp3")), "nobody's");
}

TEST_F(ReplaceFileTest, RefusedOwnerDropsSetUserIdAndSetGroupId) {
  Plant(Path("suid.mp3"), "old", 06755);
  ASSERT_EQ(::chmod(Path("suid.mp3").c_str(), 06755), 0);
  const WriteFault fault{.refuseOwner = true};
  ASSERT_FALSE(WriteWholeFile(Path("suid.mp3"), "new", &fault));
  EXPECT_EQ(Contents(Path("suid.mp3")), "new");
  EXPECT_EQ(Info(Path("suid.mp3")).st_mode & 07777, 0755u);
}

TEST_F(ReplaceFileTest, NewFileTakesTheModeOfTheUmask) {
  const mode_t saved = ::umask(077);
  const auto created = WriteWholeFile(Path("private.tvd"), "catalogue");
  ::umask(027);
  const auto second = WriteWholeFile(Path("group.tvd"), "catalogue");
  ::umask(saved);
  ASSERT_FALSE(created);
  ASSERT_FALSE(second);
  EXPECT_EQ(Info(Path("private.tvd")).st_mode & 07777, 0600u);
  EXPECT_EQ(Info(Path("group.tvd")).st_mode & 07777, 0640u);
}

// ---- Names ----------------------------------------------------------------

TEST_F(ReplaceFileTest, LongNameIsReplacedWithoutLeavingAnything) {
  const std::string name = std::string(246, 'n') + ".mp3";
  ASSERT_EQ(name.size(), 250u);
  Plant(Path(name), "old");
  ASSERT_EQ(Contents(Path(name)), "old");
  ASSERT_FALSE(WriteWholeFile(Path(name), "new"));
  EXPECT_EQ(Contents(Path(name)), "new");
  // The longest name the system allows, new and through a hard link.
  const std::string longest = std::string(251, 'm') + ".mp3";
  ASSERT_FALSE(WriteWholeFile(Path(longest), "created"));
  ASSERT_EQ(::link(Path(longest).c_str(), Path("other").c_str()), 0);
  ASSERT_FALSE(WriteWholeFile(Path(longest), "through the inode"));
  EXPECT_EQ(Contents(Path("other")), "through the inode");
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{longest, name, "other"}));
}

TEST_F(ReplaceFileTest, NamesAreUsedByteForByte) {
  const std::vector<std::string> odd = {"a.mp3 ", " a.mp3", "a.mp3\t", "\ta.mp3", "a\r.mp3",
                                        "a\n.mp3", "a.mp3\n", "a\xff\xfe.mp3", "a\xc3.mp3"};
  Plant(Path("a.mp3"), "plain");
  for (const std::string& name : odd) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(WriteWholeFile(Path(name), "odd:" + name));
    std::string read;
    ASSERT_FALSE(ReadWholeFile(Path(name), read));
    EXPECT_EQ(read, "odd:" + name);
    EXPECT_EQ(Contents(Path("a.mp3")), "plain");
  }
  std::vector<std::string> expected = odd;
  expected.push_back("a.mp3");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(folder.Path()), expected);

  for (const std::string& name : odd) ASSERT_FALSE(RemoveFile(Path(name))) << name;
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"a.mp3"}));
  EXPECT_EQ(Contents(Path("a.mp3")), "plain");
}

// ---- Overwriting in place (a journal) --------------------------------------

TEST_F(ReplaceFileTest, OverwritingInPlaceReplacesTheContentButNeverThroughALink) {
  ASSERT_FALSE(OverwriteFile(Path("journal"), "a longer first content"));
  ASSERT_FALSE(OverwriteFile(Path("journal"), "short"));
  EXPECT_EQ(Contents(Path("journal")), "short");
  Plant(Path("victim"), "keep");
  ASSERT_EQ(::symlink(Path("victim").c_str(), Path("linked").c_str()), 0);
  EXPECT_TRUE(OverwriteFile(Path("linked"), "x"));
  EXPECT_EQ(Contents(Path("victim")), "keep");
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0644), 0);
  EXPECT_TRUE(OverwriteFile(Path("fifo"), "x"));  // refused without waiting for a reader
}

}  // namespace
}  // namespace tonvault::files
