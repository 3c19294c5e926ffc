#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "audio/Id3v1.h"
#include "audio/Id3v2Writer.h"
#include "catalogue/PageChange.h"
#include "support/MpegSynth.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"
#include "tagging/editor/TagEditor.h"

namespace tonvault::tagging {

using catalogue::Column;
using catalogue::Page;
using testing::ScriptedFrontend;

struct Tags {
  bool v1 = false, v2 = false;
  std::string title{}, artist{};
  int v1Track = 0;
  std::string v2Track{};
  std::string v2Genre{};
};

class EditorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    app.options.import.readId3v1 = true;
    app.options.import.readId3v2 = true;
    app.options.id3.trackNumberDigits = 1;
    app.options.id3.extraSpace = 100;
    catalogue::ChangePage(app, Page::Files);
  }

  std::string Path(const std::string& name) const { return folder.Path() + "/" + name; }

  // An MPEG file with the tags asked for, and its selected row in FILES.
  std::string AddFile(const std::string& name, const Tags& tags) {
    testing::Bytes bytes = testing::Frames(testing::FrameShape{}, 20);
    std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<std::streamsize>(bytes.size()));
    if (tags.v2) {
      audio::Id3v2TagFields fields{tags.title, tags.artist, "Album", "", "1999", tags.v2Track, tags.v2Genre};
      EXPECT_TRUE(audio::WriteId3v2Tag(Path(name), fields, {}).ok);
    }
    if (tags.v1) {
      audio::Id3v1Fields fields{tags.title, tags.artist, "Album", "", "1999", 17, tags.v1Track};
      EXPECT_TRUE(audio::WriteId3v1Tag(Path(name), fields, false, false).ok);
    }
    AddRow(name);
    return Path(name);
  }
  void AddRow(const std::string& name, std::vector<catalogue::TrackRecord>* list = nullptr) {
    catalogue::TrackRecord row;
    row.selected = true;
    app.columnMap.Set(row, Column::Path, folder.Path() + "/");
    app.columnMap.Set(row, Column::Filename, name);
    (list ? *list : app.files).push_back(row);
  }
  void Open() { catalogue::ChangePage(app, Page::Id3Editor); }
  std::string Artist(const catalogue::TrackRecord& row) const { return app.columnMap.Get(row, Column::Artist); }

  testing::TempFolder folder;
  ScriptedFrontend frontend;
  catalogue::Application app{frontend};
  TagEditor editor{app};
};

}  // namespace tonvault::tagging
