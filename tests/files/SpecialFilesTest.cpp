#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "FileTestSupport.h"
#include "files/CopyFile.h"
#include "files/OpenFile.h"
#include "files/ReadWholeFile.h"
#include "files/ReplaceFile.h"
#include "support/TempFolder.h"

namespace tonvault::files {
namespace {

using test::Contents;
using test::ExitCodeOf;
using test::Info;
using test::LinkInfo;
using test::Names;
using test::Plant;
using test::RunInChild;

// FIFOs, devices, dangling links and loops where a file is read, and
// FIFOs and descriptors where one is written.
class SpecialFilesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }
  tonvault::testing::TempFolder folder;
};

// Each reader runs in a child process: a reader that blocked (a FIFO with no
// writer, a device) would be ended and the test would fail, not hang.
TEST_F(SpecialFilesTest, ReadersRefuseWhatIsNotARegularFileWithoutBlocking) {
  ASSERT_EQ(::mkfifo(Path("fifo.mp3").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("fifo.mp3", Path("to-fifo.mp3").c_str()), 0);
  ASSERT_EQ(::symlink("/dev/zero", Path("zero.mp3").c_str()), 0);
  ASSERT_EQ(::symlink("/dev/tty", Path("tty.mp3").c_str()), 0);
  ASSERT_EQ(::mkdir(Path("folder.mp3").c_str(), 0755), 0);
  ASSERT_EQ(::symlink("gone.mp3", Path("dangling.mp3").c_str()), 0);
  ASSERT_EQ(::symlink("loop.mp3", Path("loop.mp3").c_str()), 0);

  const struct {
    const char* name;
    Failure failure;
  } cases[] = {
      {"fifo.mp3", Failure::NotRegularFile},   {"to-fifo.mp3", Failure::NotRegularFile},
      {"zero.mp3", Failure::NotRegularFile},   {"tty.mp3", Failure::NotRegularFile},
      {"folder.mp3", Failure::NotRegularFile}, {"dangling.mp3", Failure::NotFound},
      {"missing.mp3", Failure::NotFound},      {"loop.mp3", Failure::System},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Path(c.name);
    EXPECT_EQ(RunInChild([&path] {
                OpenedFile opened;
                return ExitCodeOf(OpenForReading(path, opened));
              }),
              ExitCodeOf(c.failure));
    EXPECT_EQ(RunInChild([&path] {
                std::string content;
                return ExitCodeOf(ReadWholeFile(path, content));
              }),
              ExitCodeOf(c.failure));
    EXPECT_EQ(RunInChild([&path] {
                OpenedFile opened;
                return ExitCodeOf(OpenForPatch(path, opened));
              }),
              ExitCodeOf(c.failure));
    EXPECT_NE(RunInChild([this, &path] { return ExitCodeOf(CopyFile(path, Path("copy.mp3"))); }), 0);
  }
  EXPECT_TRUE(S_ISFIFO(LinkInfo(Path("fifo.mp3")).st_mode));
  EXPECT_FALSE(std::filesystem::exists(Path("copy.mp3")));
}

TEST_F(SpecialFilesTest, ReadersGetTheWholeFileAndRefuseAnOversizedOne) {
  const std::string content(3 << 20, 'x');
  Plant(Path("big.tvd"), content);
  std::string read;
  ASSERT_FALSE(ReadWholeFile(Path("big.tvd"), read));
  EXPECT_EQ(read, content);
  const auto refused = ReadWholeFile(Path("big.tvd"), read, content.size() - 1);
  ASSERT_TRUE(refused);
  OpenedFile opened;
  ASSERT_FALSE(OpenForReading(Path("big.tvd"), opened));
  // The descriptor blocks again: a read loop on it must not see EAGAIN.
  EXPECT_EQ(::fcntl(opened.descriptor.Get(), F_GETFL) & O_NONBLOCK, 0);
  EXPECT_NE(::fcntl(opened.descriptor.Get(), F_GETFD) & FD_CLOEXEC, 0);
}

// Reads everything that arrives at a FIFO until its writer closes it. The
// reading end is open before the write starts, so the writer never waits for
// it; when nothing ever writes, poll gives up and the content stays short.
class FifoDrain {
 public:
  explicit FifoDrain(const std::string& path) : reader_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
    thread_ = std::thread([this] {
      char block[65536];
      for (;;) {
        pollfd wait{reader_, POLLIN, 0};
        if (::poll(&wait, 1, 20'000) <= 0) break;
        const ssize_t got = ::read(reader_, block, sizeof block);
        if (got > 0) content_.append(block, static_cast<std::size_t>(got));
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) break;
      }
    });
  }
  ~FifoDrain() {
    if (thread_.joinable()) thread_.join();
    ::close(reader_);
  }
  const std::string& Content() {
    thread_.join();
    return content_;
  }

 private:
  int reader_;
  std::string content_;
  std::thread thread_;
};

TEST_F(SpecialFilesTest, FifoIsWrittenDirectly) {
  ASSERT_EQ(::mkfifo(Path("out.m3u").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("out.m3u", Path("link.m3u").c_str()), 0);
  Plant(Path("source.mp3"), std::string(300'000, 's'));
  const std::string content(1 << 20, 'f');  // far more than the pipe holds

  {
    FifoDrain drain(Path("out.m3u"));
    ASSERT_FALSE(WriteWholeFile(Path("out.m3u"), content));
    EXPECT_EQ(drain.Content(), content);
  }
  {
    FifoDrain drain(Path("link.m3u"));
    ASSERT_FALSE(CopyFile(Path("source.mp3"), Path("link.m3u")));
    EXPECT_EQ(drain.Content(), std::string(300'000, 's'));
  }
  EXPECT_TRUE(S_ISFIFO(LinkInfo(Path("out.m3u")).st_mode));
  EXPECT_TRUE(S_ISLNK(LinkInfo(Path("link.m3u")).st_mode));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"link.m3u", "out.m3u", "source.mp3"}));
}

TEST_F(SpecialFilesTest, FifoWhoseReaderLeavesIsAnErrorNotTheEndOfTheProgram) {
  ASSERT_EQ(::mkfifo(Path("out.m3u").c_str(), 0600), 0);
  const int reader = ::open(Path("out.m3u").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  // The reader takes the first bytes and goes, as `head` does.
  std::thread leave([reader] {
    pollfd wait{reader, POLLIN, 0};
    char first[16];
    if (::poll(&wait, 1, 20'000) == 1) (void)!::read(reader, first, sizeof first);
    ::close(reader);
  });
  const std::string path = Path("out.m3u");
  const auto written = RunInChild([reader, &path] {
    ::close(reader);  // the child's copy would keep the FIFO open for reading
    const auto status = WriteWholeFile(path, std::string(4 << 20, 'p'));
    return status && status->code == EPIPE ? 0 : 1 + ExitCodeOf(status);
  });
  leave.join();
  ASSERT_TRUE(written.has_value()) << "the writer died of a signal or blocked";
  EXPECT_EQ(*written, 0);
}

TEST_F(SpecialFilesTest, OwnDescriptorIsWrittenWhereItStands) {
  // A descriptor open on a file (as stdout redirected with >>): the output
  // is appended there; the file is neither replaced nor given other dates.
  Plant(Path("log.txt"), "before\n");
  Plant(Path("source.txt"), "copied\n");
  test::SetTimes(Path("source.txt"), 1'000'000'000);
  const int descriptor = ::open(Path("log.txt").c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  ASSERT_GE(descriptor, 0);
  const ino_t inode = Info(Path("log.txt")).st_ino;
  const std::string name = "/dev/fd/" + std::to_string(descriptor);

  EXPECT_FALSE(WriteWholeFile(name, "written\n"));
  EXPECT_FALSE(CopyFile(Path("source.txt"), name));
  ::close(descriptor);
  EXPECT_EQ(Contents(Path("log.txt")), "before\nwritten\ncopied\n");
  EXPECT_EQ(Info(Path("log.txt")).st_ino, inode);
  EXPECT_NE(Info(Path("log.txt")).st_mtim.tv_sec, 1'000'000'000);
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"log.txt", "source.txt"}));
}

TEST_F(SpecialFilesTest, FoldersAreNotReplaced) {
  ASSERT_EQ(::mkdir(Path("folder.tvd").c_str(), 0755), 0);
  ASSERT_EQ(::symlink("folder.tvd", Path("link.tvd").c_str()), 0);
  for (const char* name : {"folder.tvd", "link.tvd", "folder.tvd/"}) {
    SCOPED_TRACE(name);
    const auto refused = WriteWholeFile(Path(name), "x");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->failure, Failure::NotRegularFile);
  }
  EXPECT_TRUE(S_ISDIR(LinkInfo(Path("folder.tvd")).st_mode));
  EXPECT_TRUE(std::filesystem::is_empty(Path("folder.tvd")));
  // A name that asks for a folder where a file stands.
  Plant(Path("file.tvd"), "old");
  EXPECT_TRUE(WriteWholeFile(Path("file.tvd/"), "x"));
  EXPECT_EQ(Contents(Path("file.tvd")), "old");
}

}  // namespace
}  // namespace tonvault::files
