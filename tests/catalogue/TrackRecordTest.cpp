#include <gtest/gtest.h>

#include "catalogue/ColumnMap.h"
#include "catalogue/TrackRecord.h"

namespace tonvault::catalogue {
namespace {

std::vector<std::string> Headings(std::vector<std::string_view> order) {
  return {order.begin(), order.end()};
}

TEST(RowTexts, SlotsKeepTheirTextsWhateverOrderTheyAreSetIn) {
  RowTexts texts(17);
  EXPECT_EQ(texts.size(), 17u);
  EXPECT_EQ(texts[16], "");
  texts.Set(14, "/music/");
  texts.Set(0, "Gold");
  texts.Set(16, "key");
  texts.Set(2, "Waterloo");
  texts.Set(0, "");  // emptied again
  texts.Set(1, texts[2]);  // a view into the row's own texts
  EXPECT_EQ(texts[0], "");
  EXPECT_EQ(texts[1], "Waterloo");
  EXPECT_EQ(texts[2], "Waterloo");
  EXPECT_EQ(texts[14], "/music/");
  EXPECT_EQ(texts[16], "key");
  EXPECT_EQ(texts[40], "") << "a slot the row does not have reads empty";
  texts.Set(18, "19 slots");
  EXPECT_EQ(texts.size(), 19u);
  EXPECT_EQ(texts[18], "19 slots");
  EXPECT_EQ(texts[14], "/music/");
  texts.resize(17);
  EXPECT_EQ(texts[18], "");
  EXPECT_EQ(texts[16], "key");
}

TEST(RowTexts, CopiesAreIndependentAndCompareByContent) {
  RowTexts a(17);
  a.Set(3, "Pop");
  RowTexts b = a;
  EXPECT_EQ(a, b);
  b.Set(3, "Rock");
  EXPECT_EQ(a[3], "Pop");
  EXPECT_FALSE(a == b);
  b.Set(3, "");
  b.Set(4, "Pop");
  EXPECT_FALSE(a == b) << "the same characters in another slot";
  EXPECT_EQ(RowTexts(17), RowTexts(17));
  EXPECT_FALSE(RowTexts(17) == RowTexts(19));
  const std::string_view all[] = {"a", "", "bc"};
  RowTexts c;
  c.Assign(all);
  EXPECT_EQ(c.size(), 3u);
  EXPECT_EQ(c[2], "bc");
}

TEST(RowTexts, ARowCostsLittleBeyondItsText) {
  // The icon, the two flags and one pointer to the texts: a list of empty
  // rows holds no more than this per row.
  EXPECT_LE(sizeof(TrackRecord), 32u);
}

TEST(ColumnMap, FreshMapIsIdentityAndAccessGoesThroughIt) {
  ColumnMap map;
  EXPECT_TRUE(map.IsIdentity());
  TrackRecord row;
  map.Set(row, Column::Title, "Song");
  EXPECT_EQ(row.texts[2], "Song");
  EXPECT_EQ(map.Get(row, Column::Title), "Song");
  EXPECT_EQ(row.texts.size(), 17u);
}

TEST(ColumnMap, TitleDraggedBeforeAlbumSwapsTheirSlots) {
  ColumnMap map;
  map.RebuildFromHeadings(Headings({"Title", "Album", "Artist", "Genre", "Track", "Year", "Comment", "Size [kB]",
                                    "Bitrate", "Freq.", "Mode", "Length", "Codec", "Filename", "Path", "Label"}));
  EXPECT_EQ(map.SlotOf(Column::Title), 0);
  EXPECT_EQ(map.SlotOf(Column::Album), 1);
  EXPECT_EQ(map.SlotOf(Column::Artist), 2);
  EXPECT_EQ(map.ColumnInSlot(0), static_cast<int>(Column::Title));

  TrackRecord row;
  map.Set(row, Column::Album, "Gold");
  map.Set(row, Column::Title, "Waterloo");
  EXPECT_EQ(row.texts[0], "Waterloo");
  EXPECT_EQ(row.texts[1], "Gold");
}

TEST(ColumnMap, HeadingKeyWordsAreFoundInsideLongerHeadingsInFixedOrder) {
  ColumnMap map;
  std::vector<std::string> headings = {"Album",   "Artist",   "Title", "Genre",     "Track",   "Year",
                                       "Comment", "Size [kB]", "Bitrate", "Freq.", "Mode", "Length",
                                       "MPEG",    "Filename", "Path",  "Label"};
  map.RebuildFromHeadings(headings);
  EXPECT_TRUE(map.IsIdentity()) << "MPEG names the Codec column, 'Size [kB]' the Size column";

  // A heading that names no column leaves the entry where it was; a heading
  // holding two key words names the first in the key order.
  headings[0] = "Nothing here";
  headings[15] = "Album Label";
  map.RebuildFromHeadings(headings);
  EXPECT_EQ(map.SlotOf(Column::Album), 15);
  EXPECT_EQ(map.SlotOf(Column::Label), 15) << "entry keeps its previous slot";
}

TEST(TrackRecord, RowsDifferingOnlyInLetterCaseAreNotEqual) {
  ColumnMap map;
  TrackRecord a, b;
  map.Set(a, Column::Title, "Waterloo");
  map.Set(b, Column::Title, "waterloo");
  EXPECT_FALSE(RowsEqual(a, b));
  map.Set(b, Column::Title, "Waterloo");
  b.icon = StatusIcon::Corrupt;
  b.selected = true;
  EXPECT_TRUE(RowsEqual(a, b)) << "icon and selection do not take part";
  b.texts.Set(kTrackIdSlot, "key");
  EXPECT_FALSE(RowsEqual(a, b)) << "the track key slot takes part";
}

TEST(TrackRecord, FindEqualRowSearchesFromTheTop) {
  ColumnMap map;
  std::vector<TrackRecord> rows(3);
  map.Set(rows[1], Column::Album, "X");
  map.Set(rows[2], Column::Album, "X");
  TrackRecord probe;
  map.Set(probe, Column::Album, "X");
  EXPECT_EQ(FindEqualRow(rows, probe), 1);
  map.Set(probe, Column::Album, "Y");
  EXPECT_EQ(FindEqualRow(rows, probe), -1);
}

TEST(TrackRecord, PlayerRowsAreRecognisedByTheirPath) {
  ColumnMap map;
  TrackRecord row = TrackRecord::ForPlayer();
  EXPECT_EQ(row.texts.size(), 19u);
  map.Set(row, Column::Path, "--- NJB ---");
  EXPECT_TRUE(IsPlayerRow(row, map));
  map.Set(row, Column::Path, "--- N II ---");
  EXPECT_TRUE(IsPlayerRow(row, map));
  map.Set(row, Column::Path, "/music/NJB/");
  EXPECT_FALSE(IsPlayerRow(row, map));
}

TEST(TrackRecord, CentredColumns) {
  for (Column c : {Column::Genre, Column::Track, Column::Year, Column::Size, Column::Bitrate, Column::Freq,
                   Column::Mode, Column::Length, Column::Codec}) {
    EXPECT_TRUE(IsCentredColumn(c)) << static_cast<int>(c);
  }
  for (Column c : {Column::Album, Column::Artist, Column::Title, Column::Comment, Column::Filename, Column::Path,
                   Column::Label}) {
    EXPECT_FALSE(IsCentredColumn(c)) << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace tonvault::catalogue
