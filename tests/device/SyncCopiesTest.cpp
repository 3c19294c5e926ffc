// Copying from the Synchronize page's list to either side, over the
// simulated player with real files: the lines become "PC and NJB" as each
// file arrives.
#include <gtest/gtest.h>

#include <filesystem>

#include "device/TransferTestSupport.h"
#include "device/sync/Synchronization.h"

namespace tonvault::device {
namespace {

using catalogue::Button;
using catalogue::Column;

class SyncCopiesTest : public test::TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    sync_ = std::make_unique<Synchronization>(app_, *session_, *content_);
    sync_->SetTransfers(context_.get());
    auto& o = app_.options.sync;
    o.album = o.artist = o.title = true;
    o.onlyOnPc = o.onlyOnNjb = o.onBoth = o.multipleMatch = true;
  }
  // A file on the computer and its FILES row.
  void AddFile(const std::string& title) {
    Mp3(title + ".mp3");
    catalogue::TrackRecord row;
    const catalogue::ColumnMap& map = app_.columnMap;
    map.Set(row, Column::Title, title), map.Set(row, Column::Artist, "Artist"), map.Set(row, Column::Album, "Album");
    map.Set(row, Column::Filename, title + ".mp3"), map.Set(row, Column::Path, Pc());
    map.Set(row, Column::Bitrate, "128 C"), map.Set(row, Column::Comment, "from the PC");
    map.Set(row, Column::Size, std::to_string(std::filesystem::file_size(Pc() + title + ".mp3") / 1024));
    app_.files.push_back(row);
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> shown;
    for (const SyncLine& line : sync_->Lines()) {
      shown.push_back(sync_->Text(line, 1 + kTitle) + sync_->Text(line, kSymbolColumn) + sync_->Text(line, 13 + kTitle));
    }
    return shown;
  }
  void Select(std::size_t line) { sync_->Lines()[line].selected = true; }

  std::unique_ptr<Synchronization> sync_;
};

TEST_F(SyncCopiesTest, CopyToNjbSendsThePcSideAndTheLineShowsBothSides) {
  AddFile("One"), AddFile("Two");
  sync_->StartCompare();
  ASSERT_EQ(Shown(), (std::vector<std::string>{"One<", "Two<"}));
  sync_->CopyToNjb();
  EXPECT_EQ(Messages().back(), "message(information): No files to copy to NJB selected. [OK]");
  Select(1);
  sync_->CopyToNjb();
  EXPECT_EQ(States(), std::vector<std::string>{"Done"});
  EXPECT_EQ(Shown(), (std::vector<std::string>{"One<", "Two=Two"}));
  EXPECT_TRUE(sync_->ChangedSinceCompare());
  const SyncEntry& entry = sync_->Array()[1];
  ASSERT_GE(entry.deviceEntry, 0);
  const DeviceTrack& track = content_->Table().Entries()[static_cast<std::size_t>(entry.deviceEntry)];
  EXPECT_EQ(track.title, "Two");
  EXPECT_EQ(track.comment, "from the PC");
  EXPECT_EQ(track.bitrate, "128 C") << "the bitrate of the FILES row";
  EXPECT_EQ(entry.player[kFilename], track.fileName);
  // A new compare finds what the copy said.
  sync_->StartCompare();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"One<", "Two=Two"}));
}

TEST_F(SyncCopiesTest, CopyToPcBringsATrackBackAsANewFilesRow) {
  AddFile("Song"), AddFile("Other");
  sync_->StartCompare();
  Select(0);
  sync_->CopyToNjb();
  // The file goes on the PC: its line is only on the player now.
  sync_->Lines()[0].selected = true;
  frontend_.Answer(Button::Yes);
  sync_->DeleteOnPc();
  ASSERT_EQ(Shown(), (std::vector<std::string>{">Song", "Other<"}));

  std::filesystem::create_directories(temp_.Path() + "/back");
  frontend_.ChooseFolderAnswer(std::nullopt);
  sync_->Lines()[0].selected = true;
  sync_->CopyToPc();  // cancelled: nothing happens
  EXPECT_EQ(Shown(), (std::vector<std::string>{">Song", "Other<"}));
  frontend_.ChooseFolderAnswer(temp_.Path() + "/back");
  sync_->Lines()[0].selected = true;
  sync_->CopyToPc();
  EXPECT_EQ(app_.uploadFolder, temp_.Path() + "/back/");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Song=Song", "Other<"}));
  const SyncEntry& entry = sync_->Array()[0];
  EXPECT_EQ(entry.pc[kFilename].rfind(temp_.Path() + "/back/", 0), 0u) << entry.pc[kFilename];
  EXPECT_TRUE(std::filesystem::exists(entry.pc[kFilename]));
  // The deleted file's row went at the transfer's end; the new row is the
  // line's row.
  ASSERT_EQ(app_.files.size(), 2u);
  EXPECT_EQ(catalogue::FileOfRow(app_.files[static_cast<std::size_t>(entry.filesRow)], app_.columnMap),
            entry.pc[kFilename]);

  frontend_.ChooseFolderAnswer(temp_.Path() + "/back");
  sync_->Lines()[1].selected = true;  // only on the PC: nothing to fetch
  sync_->CopyToPc();
  EXPECT_EQ(Messages().back(), "message(information): No files to copy to PC selected. [OK]");
}

}  // namespace
}  // namespace tonvault::device
