#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "catalogue/DiskOperations.h"
#include "catalogue/ListOperations.h"
#include "catalogue/PageChange.h"
#include "support/FileContents.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

namespace tonvault::catalogue {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedFrontend;

using testing::Contents;

class DiskOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override { ChangePage(app, Page::Files); }
  std::string Path(const std::string& relative) const { return folder.Path() + "/" + relative; }
  // A file on disk and its selected row.
  void AddFile(const std::string& relative, const std::string& content) {
    fs::create_directories(fs::path(Path(relative)).parent_path());
    std::ofstream(Path(relative), std::ios::binary) << content;
    AddRow(relative);
  }
  void AddRow(const std::string& relative) {
    TrackRecord row;
    row.selected = true;
    const fs::path path(Path(relative));
    app.columnMap.Set(row, Column::Path, path.parent_path().string() + "/");
    app.columnMap.Set(row, Column::Filename, path.filename().string());
    app.files.push_back(row);
  }
  testing::TempFolder folder;
  ScriptedFrontend frontend;
  Application app{frontend};
};

TEST_F(DiskOperationsTest, CopyIntoLastFolderNamesCreatesThem) {
  AddFile("music/Rock/a.mp3", "rock");
  AddFile("music/Pop/b.mp3", "pop");
  frontend.ChooseFolderAnswer(Path("target"));
  CopyOrMoveFiles(app, true, true);
  EXPECT_EQ(Contents(Path("target/Rock/a.mp3")), "rock");
  EXPECT_EQ(Contents(Path("target/Pop/b.mp3")), "pop");
  EXPECT_EQ(app.files.size(), 2u) << "copying keeps the rows";
  EXPECT_EQ(app.copyMoveFolder, Path("target") + "/");
  EXPECT_EQ(frontend.Log("folder dialog").front(),
            "folder dialog: Select destination folder to COPY files:\n\r(Subdirectories will be created automatically)"
            " @ -> " + Path("target"));
}

TEST_F(DiskOperationsTest, AllReplacesEveryLaterTargetWithoutAsking) {
  AddFile("src/a.mp3", "new a");
  AddFile("src/b.mp3", "new b");
  AddFile("src/c.mp3", "new c");
  for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
    fs::create_directories(Path("dst"));
    std::ofstream(Path(std::string("dst/") + name)) << "old";
  }
  frontend.ChooseFolderAnswer(Path("dst"));
  frontend.Answer(Button::All);
  CopyOrMoveFiles(app, true, false);
  EXPECT_EQ(Contents(Path("dst/a.mp3")), "new a");
  EXPECT_EQ(Contents(Path("dst/c.mp3")), "new c");
  EXPECT_EQ(frontend.Log("message"), (std::vector<std::string>{"message(confirmation): " + Path("dst/a.mp3") +
                                                                "\n\ralready exists in the target folder.\n\r\rReplace ? "
                                                                "[Yes/No/Cancel/All] -> All"}));
}

TEST_F(DiskOperationsTest, MoveWithANameClashAnsweredNoKeepsSourceAndRow) {
  AddFile("src/a.mp3", "source");
  AddFile("src/b.mp3", "other");
  fs::create_directories(Path("dst"));
  std::ofstream(Path("dst/a.mp3")) << "existing";
  frontend.ChooseFolderAnswer(Path("dst"));
  frontend.Answer(Button::No);
  CopyOrMoveFiles(app, false, false);
  EXPECT_EQ(Contents(Path("src/a.mp3")), "source");
  EXPECT_EQ(Contents(Path("dst/a.mp3")), "existing") << "never overwritten without Yes or All";
  EXPECT_EQ(Contents(Path("dst/b.mp3")), "other");
  EXPECT_FALSE(fs::exists(Path("src/b.mp3")));
  ASSERT_EQ(app.files.size(), 1u) << "the moved file's row left the list";
  EXPECT_EQ(app.columnMap.Get(app.files[0], Column::Filename), "a.mp3");
  EXPECT_TRUE(app.catalogueModified);
}

TEST_F(DiskOperationsTest, MissingSourceAsksAndNoEnds) {
  AddRow("src/missing.mp3");
  AddFile("src/later.mp3", "later");
  frontend.ChooseFolderAnswer(Path("dst"));
  frontend.Answer(Button::No);
  CopyOrMoveFiles(app, true, false);
  EXPECT_FALSE(fs::exists(Path("dst/later.mp3"))) << "No ended the walk";
  EXPECT_EQ(frontend.Log("beep").front(), "beep: question");
  EXPECT_EQ(frontend.Log("message"),
            (std::vector<std::string>{"message(confirmation): " + Path("src/missing.mp3") +
                                      "\n\r\rNot found !\n\r\rProcede with next file(s) ? [Yes/No] -> No"}));
}

TEST_F(DiskOperationsTest, PlayerRowsAreRefused) {
  AddFile("src/a.mp3", "a");
  TrackRecord player = TrackRecord::ForPlayer();
  app.columnMap.Set(player, Column::Path, "--- NJB ---");
  player.selected = true;
  app.files.push_back(player);
  CopyOrMoveFiles(app, false, false);
  DeleteFiles(app);
  EXPECT_TRUE(fs::exists(Path("src/a.mp3")));
  EXPECT_EQ(frontend.Log("message"),
            (std::vector<std::string>{"message(information): Files on NJB can not be copied/moved that way. [OK]",
                                      "message(information): Files on NJB or from cache file can not be deleted that "
                                      "way. [OK]"}));
  EXPECT_TRUE(frontend.Log("folder dialog").empty());
}

TEST_F(DiskOperationsTest, DeleteAsksTwiceAndKeepsMissingRows) {
  AddFile("src/a.mp3", "a");
  AddRow("src/gone.mp3");
  AddFile("src/b.mp3", "b");
  app.files[2].selected = false;
  frontend.Answer(Button::Yes);
  frontend.Answer(Button::No);
  DeleteFiles(app);
  EXPECT_TRUE(fs::exists(Path("src/a.mp3"))) << "No to \"Are you sure ?\" deletes nothing";

  frontend.Answer(Button::Yes);
  frontend.Answer(Button::Yes);
  frontend.Answer(Button::Yes);  // go on after the missing file
  DeleteFiles(app);
  EXPECT_FALSE(fs::exists(Path("src/a.mp3")));
  EXPECT_TRUE(fs::exists(Path("src/b.mp3"))) << "only selected rows' files";
  ASSERT_EQ(app.files.size(), 2u);
  EXPECT_EQ(app.columnMap.Get(app.files[0], Column::Filename), "gone.mp3");
  const auto messages = frontend.Log("message");
  EXPECT_EQ(messages[0],
            "message(confirmation): Do you really want to delete\n\rthe 2 selected files\n\rfrom your harddisk ? "
            "[Yes/No] -> Yes");
  EXPECT_EQ(messages[1], "message(confirmation): Are you sure ? [Yes/No] -> No");
}

// A handful of files must not freeze the window: the count and the event
// pump (and with it Esc) come after every file, not every hundredth.
TEST_F(DiskOperationsTest, EscIsSeenAfterTheFirstFileAndCopiesKeepTheirDate) {
  for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) AddFile(std::string("src/") + name, name);
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
  fs::last_write_time(Path("src/a.mp3"), old);
  frontend.ChooseFolderAnswer(Path("dst"));
  fs::create_directories(Path("dst"));
  frontend.AtPump(2, [&] { StopCommand(app); });  // the pump after the first file
  frontend.Answer(Button::Yes);                   // "Do you really want to STOP ?"
  CopyOrMoveFiles(app, true, false);
  EXPECT_TRUE(fs::exists(Path("dst/a.mp3")));
  EXPECT_FALSE(fs::exists(Path("dst/b.mp3"))) << "stopped after one file";
  EXPECT_EQ(frontend.Log("panel0: Copy:  ").front(), "panel0: Copy:  2");
  EXPECT_EQ(fs::last_write_time(Path("dst/a.mp3")), old) << "a copy keeps the original's date";
}

}  // namespace
}  // namespace tonvault::catalogue
