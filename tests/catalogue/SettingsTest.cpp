#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <set>

#include "audio/TextEncoding.h"
#include "catalogue/DatabaseCommands.h"
#include "catalogue/EndWithoutWindow.h"
#include "catalogue/IniFile.h"
#include "catalogue/LongOperation.h"
#include "catalogue/Settings.h"
#include "catalogue/SettingKeys.h"
#include "catalogue/SettingsDefaults.h"
#include "catalogue/SettingsFile.h"
#include "files/FileTestSupport.h"
#include "support/CodePageScope.h"
#include "support/FileContents.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

namespace tonvault::catalogue {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedFrontend;
using testing::TempFolder;

using testing::Contents;

// A value other than the start value that the key's reading rules keep.
void ChangeOption(const SettingKey& k, Options& o) {
  if (k.flag) k.flag(o, k.index) = k.start == 0;
  if (k.text) k.text(o, k.index) = k.kind == KeyKind::OneCharacter ? "+" : "t" + std::to_string(k.index) + k.key;
  if (k.key == "CodePage") k.text(o, k.index) = "KOI8-R";  // only the offered names are kept
  if (!k.number) return;
  int& value = k.number(o, k.index);
  switch (k.kind) {
    case KeyKind::Spin:
    case KeyKind::Index: value = k.start == k.max ? k.min : k.max; break;
    case KeyKind::Choice: value = k.start == 1 ? 0 : 1; break;
    default: value = k.start + 7; break;
  }
}

// The option of `k` as text, for comparing two models key by key.
std::string OptionText(const SettingKey& k, Options& o) {
  if (k.flag) return k.flag(o, k.index) ? "on" : "off";
  if (k.number) return std::to_string(k.number(o, k.index));
  return k.text ? k.text(o, k.index) : "";
}

class SettingsTest : public ::testing::Test {
 protected:
  void Read(const std::string& text) { ReadSettings(IniFile::Parse(text), app, screen); }
  std::string Written() const { return WriteSettings(app).Text(); }

  ScreenSize screen{1600, 1000};
  ScriptedFrontend frontend;
  Application app{frontend};
};

TEST(IniFileTest, NamesIgnoreCaseAndBothLineEndsAreRead) {
  const IniFile ini = IniFile::Parse("[Window]\r\nRemember=0\r\n\r\n[path]\nLast1=/m/a.tvd\n");
  EXPECT_EQ(ini.Get("WINDOW", "remember"), "0");
  EXPECT_EQ(ini.Get("Path", "LAST1"), "/m/a.tvd");
  EXPECT_FALSE(ini.Get("Path", "Last2"));
  IniFile copy = ini;
  copy.Set("window", "REMEMBER", "1");
  copy.RemoveSection("PATH");
  EXPECT_EQ(copy.Text(), "[Window]\nRemember=1\n\n");
}

TEST(IniFileTest, AByteOrderMarkDoesNotHideTheFirstSectionAndTheFirstKeyCounts) {
  const IniFile ini = IniFile::Parse("\xEF\xBB\xBF[Window]\r\nRemember=0\r\nRemember=1\r\n");
  EXPECT_EQ(ini.Get("Window", "Remember"), "0");
}

TEST_F(SettingsTest, MissingFileWarnsAndKeepsStartValues) {
  TempFolder folder;
  EXPECT_EQ(LoadSettings(app, folder.Path() + "/Tonvault.ini", screen), SettingsRead::Missing);
  WarnSettingsMissing(app);
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{
                                "beep: asterisk",
                                "message(warning): \"Tonvault.ini\" not found !\n\r\rUsing defaults. [OK]"}));
  EXPECT_EQ(app.options.window.listFontSize, 8);
  EXPECT_EQ(app.options.mp3.cbrSeconds, 2);
  EXPECT_EQ(app.options.columns.headings[1], "Album");
}

TEST_F(SettingsTest, MissingKeysTakeTheReaderDefaultsNotTheStartValues) {
  Read("[Window]\nRemember=1\n");
  EXPECT_EQ(app.options.window.listFontSize, 10);
  EXPECT_EQ(app.options.mp3.cbrSeconds, 5);
  for (int k = 0; k < kDisplayColumns; ++k) {
    EXPECT_EQ(app.options.columns.headings[static_cast<std::size_t>(k)], "--- ERROR ---");
    EXPECT_EQ(app.options.columns.widths[static_cast<std::size_t>(k)], ColumnLayout().widths[static_cast<std::size_t>(k)])
        << "a missing width is the first width, not a 3-pixel sliver";
  }
  EXPECT_EQ(app.options.viewColumnWidths[0][0], 3);
  // A heading that names no field leaves the map alone.
  EXPECT_TRUE(app.columnMap.IsIdentity());
  // Missing print rows are not taken over.
  EXPECT_EQ(app.options.print.filesOrder, PrintOptions().filesOrder);
}

// Widths missing from a file whose headings survived: each column gets the
// first width of the column its heading names, wherever it now stands.
TEST_F(SettingsTest, AMissingColumnWidthIsTheNamedColumnsFirstWidth) {
  Read("[ColumnsOrder]\nColumnTitle1=\"Length\"\nColumnTitle2=\"Album\"\n[ColumnsWidth]\n2=-77\n");
  const ColumnLayout first;
  const auto length = std::find(first.headings.begin(), first.headings.end(), "Length") - first.headings.begin();
  EXPECT_EQ(app.options.columns.widths[1], first.widths[static_cast<std::size_t>(length)]);
  EXPECT_EQ(app.options.columns.widths[2], -77) << "a width that is there is taken";
  EXPECT_EQ(app.options.columns.widths[5], first.widths[5]) << "no heading: the width of the position";
  EXPECT_EQ(app.options.columns.widths[0], 24);
}

TEST_F(SettingsTest, ValuesAreReadByTheirKindsRules) {
  Read(
      "[window]\nNoAskForSave=7\nListFontSize=40\n"
      "[MP3]\nCheckVBR=0\nCheckVBRPercent=abc\nErrorsAllowed=-4\n"
      "[HTML]\nTABLE=\"<TABLE Border=0>\"\n"
      "[ColumnsOrder]\nColumnTitle1=\"Artist\"\nColumnTitle2=\"Album\"\n"
      "[ColumnsWidth]\n1=-90\n2=-2\n"
      "[Columns]\nAL0=200\nAR1=2\n");
  EXPECT_TRUE(app.options.dontAskForSaveOnExit);
  EXPECT_EQ(app.options.window.listFontSize, 12);  // held in the box's range
  EXPECT_FALSE(app.options.mp3.scanForVbr);
  EXPECT_EQ(app.options.mp3.cbrSeconds, 5);
  EXPECT_EQ(app.options.mp3.errorsTolerated, 0);
  EXPECT_EQ(app.options.print.tableTag, "<TABLE Border=0>");
  EXPECT_EQ(app.options.columns.widths[1], -90);
  EXPECT_EQ(app.options.columns.widths[2], -3);
  EXPECT_EQ(app.options.viewColumnWidths[0][0], 200);
  EXPECT_EQ(app.options.viewColumnWidths[1][1], 3);
  // Swapped headings swap the slots of Album and Artist.
  EXPECT_EQ(app.columnMap.SlotOf(Column::Artist), 0);
  EXPECT_EQ(app.columnMap.SlotOf(Column::Album), 1);
}

TEST_F(SettingsTest, MalformedValuesAtTheStopPointsEndTheWholeRead) {
  const std::string before = "[MP3]\nCheckVBR=0\n[Search]\nCase=1\n[ID3]\nKeepDate=1\n";
  Read(before + "[PrintOrder1]\nColumnOrder0=x\n");
  EXPECT_FALSE(app.options.mp3.scanForVbr);         // read before the print order
  EXPECT_FALSE(app.options.id3.keepOriginalFileDate);  // read after it
  EXPECT_FALSE(app.options.search.matchCase);

  Application second{frontend};
  ReadSettings(IniFile::Parse(before + "[Window]\nListFontSize=40000\n"), second, screen);
  EXPECT_TRUE(second.options.mp3.scanForVbr);  // ListFontSize comes first
  EXPECT_EQ(second.options.window.listFontSize, 8);
  EXPECT_EQ(second.options.columns.headings[1], "Album");

  Application third{frontend};
  ReadSettings(IniFile::Parse(before + "[ID3]\nExtraSpace=-99999\n"), third, screen);
  EXPECT_TRUE(third.options.id3.keepOriginalFileDate);  // read just before
  EXPECT_EQ(third.options.id3.extraSpace, 100);
  EXPECT_FALSE(third.options.search.matchCase);
}

TEST_F(SettingsTest, PrintRowsNeedANumberAndATextWithoutError) {
  Read(
      "[PrintOrder1]\nColumnTitle0=\" Title\"\nColumnOrder0=2\nColumnTitle1=\" --- ERROR ---\"\nColumnOrder1=5\n"
      "ColumnTitle2=\" Genre\"\nColumnOrder2=-999\n");
  EXPECT_EQ(app.options.print.filesOrder[0], (PrintItem{" Title", 2}));
  EXPECT_EQ(app.options.print.filesOrder[1], PrintOptions().filesOrder[1]);
  EXPECT_EQ(app.options.print.filesOrder[2], PrintOptions().filesOrder[2]);
}

TEST_F(SettingsTest, FoldersFollowTheirRememberFlags) {
  Read("[Path]\nRemember TXT=0\nTXT=/t/\nHTML=/h/\nTVD=/d/\nRemember Import=0\nImport=/i/\nCopyMove=/c/\n");
  EXPECT_EQ(app.txtFolder, HomeFolder());
  EXPECT_EQ(app.htmlFolder, "/h/");
  EXPECT_EQ(app.databaseFolder, "/d/");
  EXPECT_EQ(app.importFolder, "");
  EXPECT_EQ(app.copyMoveFolder, "/c/");
}

TEST_F(SettingsTest, RecentListIsReadNewestOnTopAndRewrittenFromTheTop) {
  Read("[Path]\nLast1=/m/one.tvd\nLast3=/m/three.tvd\nLast11=/m/old.tvd\n");
  EXPECT_EQ(app.recentDatabases.Entries(), (std::vector<std::string>{"/m/one.tvd", "/m/three.tvd"}));
  const IniFile written = IniFile::Parse(Written());
  EXPECT_EQ(written.Get("Path", "Last1"), "/m/one.tvd");
  EXPECT_EQ(written.Get("Path", "Last2"), "/m/three.tvd");
  EXPECT_FALSE(written.Get("Path", "Last3"));
  EXPECT_FALSE(written.Get("Path", "Last11"));
}

TEST_F(SettingsTest, WindowIsKeptOnTheScreen) {
  Read("[Window]\nLeft=1580\nTop=-20\nWidth=800\nHeight=600\n");
  EXPECT_EQ(app.options.window.left, 0);
  EXPECT_EQ(app.options.window.top, 0);
  EXPECT_EQ(app.options.window.width, 800);

  Application off{frontend};
  ReadSettings(IniFile::Parse("[Window]\nRemember=0\nLeft=100\nMaximized=1\n"), off, screen);
  EXPECT_EQ(off.options.window.left, -9999);
  EXPECT_FALSE(off.options.window.maximized);
}

TEST_F(SettingsTest, WindowNearTheBottomOrRightEdgeComesBack) {
  Read("[Window]\nLeft=1549\nTop=949\nWidth=800\nHeight=600\n");
  EXPECT_EQ(app.options.window.top, 949) << "50 pixels of the window still show";
  EXPECT_EQ(app.options.window.left, 1549);
  Read("[Window]\nLeft=1551\nTop=951\n");
  EXPECT_EQ(app.options.window.top, 0) << "within 50 pixels of the screen's height";
  EXPECT_EQ(app.options.window.left, 0) << "within 50 pixels of the screen's width";
  Read("[Window]\nLeft=-720\nWidth=800\n");
  EXPECT_EQ(app.options.window.left, -720) << "80 pixels still show";
  Read("[Window]\nLeft=-721\nWidth=800\n");
  EXPECT_EQ(app.options.window.left, 0) << "less than 80 pixels on the screen";
}

TEST_F(SettingsTest, UnknownBoundsAreWrittenAsZero) {
  app.options.window.maximized = true;
  const IniFile written = IniFile::Parse(Written());
  for (const char* key : {"Left", "Top", "Width", "Height"}) EXPECT_EQ(written.Get("Window", key), "0") << key;
  EXPECT_EQ(written.Get("Window", "Maximized"), "1");
}

TEST_F(SettingsTest, ReplacingOnlyForThisSessionIsStoredButReadBackAsAsk) {
  app.options.download.existingFiles = 3;
  app.options.upload.existingFiles = 3;
  const std::string text = Written();
  const IniFile written = IniFile::Parse(text);
  EXPECT_EQ(written.Get("Download", "Existing Files"), "3");
  EXPECT_EQ(written.Get("Upload", "Existing Files"), "3");
  Read(text);
  EXPECT_EQ(app.options.download.existingFiles, 2);
  EXPECT_EQ(app.options.upload.existingFiles, 2);
}

TEST_F(SettingsTest, ANonAsciiSubstituteIsReadAsOneCharacter) {
  Read("[ID3]\nRenameSubstitute=\"é\"\n");
  EXPECT_EQ(IniFile::Parse(Written()).Get("ID3", "RenameSubstitute"), "\"é\"");
}

TEST_F(SettingsTest, KeysOfLaterFeaturesAreKeptByTheReadersRules) {
  Read("[Download]\nExisting Files=7\n[WAV]\nOld=1\n[Sync]\nLengthTolerance=9\nPCButton=5\n[Future]\nKey=x\n"
       "[ID3]\nRenameSubstitute=\"__\"\n[Upload]\nID3V2=2\n[TransferWindow]\nColumnWidth0=1\n");
  const IniFile written = IniFile::Parse(Written());
  EXPECT_EQ(written.Get("Download", "Existing Files"), "2");
  EXPECT_EQ(written.Get("Sync", "LengthTolerance"), "9");
  EXPECT_EQ(written.Get("Sync", "PCButton"), "1");
  EXPECT_EQ(written.Get("Future", "Key"), "x");
  EXPECT_FALSE(written.HasSection("WAV"));
  EXPECT_EQ(written.Get("ID3", "RenameSubstitute"), "\"_\"");
  EXPECT_EQ(written.Get("TransferWindow", "ColumnWidth0"), "3");
  // Missing from an existing file reads as the reader's default, which is
  // not always the start value of a fresh program.
  EXPECT_EQ(written.Get("ID3", "ExtractSeparator2"), "\"-\"");
  EXPECT_EQ(written.Get("Upload", "ID3V1"), "0");
  EXPECT_EQ(written.Get("Upload", "ID3V2"), "2");
  EXPECT_EQ(written.Get("Sync", "FileName"), "1");
  // The same values in the typed model.
  EXPECT_EQ(app.options.download.existingFiles, 2);
  EXPECT_EQ(app.options.sync.lengthTolerance, 9);
  EXPECT_TRUE(app.options.sync.onlyOnPc);
  EXPECT_TRUE(app.options.sync.fileName);
  EXPECT_EQ(app.options.upload.id3v1, 0);
  EXPECT_EQ(app.options.upload.id3v2, 2);
  EXPECT_EQ(app.options.transferWindow.columnWidths[0], 3);
  EXPECT_EQ(app.options.transferWindow.columnWidths[1], 100);
  EXPECT_TRUE(app.options.transferWindow.njbOff);
  EXPECT_EQ(app.options.rename.extractSeparators[1], "-");
  EXPECT_EQ(app.options.rename.order[0], "--- ERROR ---");
  EXPECT_EQ(app.options.rename.substitute, "_");
}

// The code page of old tags is one setting for every single-byte text: read
// from the file it is in force at once; a name not offered falls back to the
// default and is written back as such.
TEST_F(SettingsTest, TheCodePageOfOldTagsTakesEffectWhenRead) {
  testing::CodePageScope restore(audio::CodePage::Windows1252);
  Read("[ID3]\nCodePage=windows-1251\n");
  EXPECT_EQ(app.options.id3.codePage, "Windows-1251");
  EXPECT_EQ(audio::LegacyToUtf8("\xCA\xE8\xED\xEE"), "Кино");
  EXPECT_EQ(IniFile::Parse(Written()).Get("ID3", "CodePage"), "Windows-1251");

  Read("[ID3]\nCodePage=UTF-8\n");
  EXPECT_EQ(app.options.id3.codePage, "Windows-1252");
  EXPECT_EQ(audio::LegacyCodePage(), audio::CodePage::Windows1252);
  EXPECT_EQ(IniFile::Parse(Written()).Get("ID3", "CodePage"), "Windows-1252");

  Read("[ID3]\nCodePage=KOI8-R\n");
  Read("[Window]\nRemember=1\n");
  EXPECT_EQ(audio::LegacyCodePage(), audio::CodePage::Windows1252) << "missing: the default";

  Read("[ID3]\nCodePage=ISO-8859-5\n");
  frontend.Answer(Button::Yes);
  ASSERT_TRUE(RestoreDefaults(app, screen));
  EXPECT_EQ(app.options.id3.codePage, "Windows-1252");
  EXPECT_EQ(audio::LegacyCodePage(), audio::CodePage::Windows1252) << "the Defaults button";
}

TEST_F(SettingsTest, AFreshProgramStartsFromTheStartValuesNotTheMissingOnes) {
  const Options o;
  EXPECT_FALSE(o.sync.fileName);
  EXPECT_EQ(o.sync.lengthTolerance, 0);
  EXPECT_EQ(o.sync.columnWidths[12], 16);
  EXPECT_EQ(o.sync.columnWidths[13], 80);
  EXPECT_EQ(o.upload.id3v1, 1) << "greyed";
  EXPECT_FALSE(o.transferWindow.njbOff);
  EXPECT_EQ(o.rename.extractSeparators, (std::array<std::string, 3>{"-", "", ""}));
  EXPECT_EQ(o.rename.order[3], kItemSeparator);
  EXPECT_EQ(o.window.listFontSize, 8);
  EXPECT_EQ(o.viewColumnWidths[2], (std::array<int, 6>{150, 150, 80, 60, 70, 60}));
  EXPECT_EQ(o.player.columnWidths, (std::array<int, kPlayerColumns>{20, 100, 100}));
}

TEST_F(SettingsTest, EveryKeyIsStoredOnceAndSearchOptionsStartAsTheSearchPageDoes) {
  std::set<std::string> names;
  for (const SettingKey& k : SettingKeys()) {
    if (k.kind == KeyKind::Step) continue;
    std::string name = std::string(k.section) + "/" + k.key;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
    EXPECT_TRUE(k.flag || k.number || k.text) << name;
  }
  Options fromTable;
  Options plain;
  plain.search = SearchOptions{};
  plain.duplicate = DuplicateOptions{};
  for (const SettingKey& k : SettingKeys()) {
    if (k.keptByDefaults) {
      EXPECT_EQ(OptionText(k, fromTable), OptionText(k, plain)) << k.section << "/" << k.key;
    }
  }
}

TEST_F(SettingsTest, ThreeStateBoxesReadUncheckedGreyedChecked) {
  for (const auto& [text, state] : {std::pair{"0", 0}, {"1", 1}, {"2", 2}, {"7", 2}, {"x", 0}}) {
    Application read{frontend};
    ReadSettings(IniFile::Parse(std::string("[Upload]\nID3V1=") + text + "\n"), read, screen);
    EXPECT_EQ(read.options.upload.id3v1, state) << text;
  }
}

TEST_F(SettingsTest, TransferWindowSizeFollowsTheWindowMemory) {
  Read("[TransferWindow]\nWidth=800\nHeight=500\nBeep=0\n");
  EXPECT_EQ(app.options.transferWindow.width, 800);
  Application off{frontend};
  ReadSettings(IniFile::Parse("[Window]\nRemember=0\n[TransferWindow]\nWidth=800\nBeep=0\n"), off, screen);
  EXPECT_EQ(off.options.transferWindow.width, 600);
  EXPECT_FALSE(off.options.transferWindow.beep);
}

TEST(ItemListTest, TheSeparatorNeverStaysInTheFirstRow) {
  std::array<std::string, kItemRows> rows = Options().rename.order;
  EXPECT_FALSE(KeepOneItemAboveSeparator(rows));
  std::swap(rows[0], rows[3]);  // separator dragged to the top
  EXPECT_TRUE(KeepOneItemAboveSeparator(rows));
  EXPECT_EQ(rows[0], " Artist ");
  EXPECT_EQ(rows[1], kItemSeparator);
}

TEST_F(SettingsTest, LaterSpinAndPlayerWidthValuesAlsoEndTheRead) {
  Read("[NJB]\nTimer=99999\nStop=0\n[Search]\nCase=1\n[MP3-Analyze]\nBad=0\n");
  EXPECT_FALSE(app.options.search.matchCase);
  IniFile written = IniFile::Parse(Written());
  EXPECT_EQ(written.Get("MP3-Analyze", "Bad"), "1") << "after the stop the start value stays";

  Application second{frontend};
  ReadSettings(IniFile::Parse("[Player]\nColumnWidth0=-3\n[NomadII]\nFM_Column1=77\n[Search]\nCase=1\n"), second,
               screen);
  EXPECT_TRUE(second.options.search.matchCase);
  written = IniFile::Parse(WriteSettings(second).Text());
  EXPECT_EQ(written.Get("NomadII", "FM_Column1"), "40");
}

TEST_F(SettingsTest, AFreshFileHoldsTheKeysOfEveryPart) {
  const IniFile written = IniFile::Parse(Written());
  EXPECT_EQ(written.Get("ID3", "ExtractSeparator2"), "\"\"");
  EXPECT_EQ(written.Get("ID3", "RenameOrder3"), "\" ------ Separator ------\"");
  EXPECT_EQ(written.Get("Upload", "ID3V1"), "1");
  EXPECT_EQ(written.Get("TransferWindow", "NJBOff"), "0");
  EXPECT_EQ(written.Get("Device", "LastDevice"), "0");
  EXPECT_EQ(written.Get("ColumnsOrder", "ColumnTitle0"), "\"\"");
  EXPECT_EQ(written.Get("ColumnsWidth", "1"), "-80");
  EXPECT_EQ(written.Get("Path", "TVP"), app.databaseFolder);
}

TEST_F(SettingsTest, EveryOptionSurvivesARoundTrip) {
  Options& o = app.options;
  for (const SettingKey& k : SettingKeys()) {
    // Switching the window memory off would skip the keys read only with it.
    if (k.kind != KeyKind::Step && k.key != "Remember") ChangeOption(k, o);
  }
  o.window.left = 10;
  o.window.top = 20;
  o.window.width = 900;
  o.window.height = 700;
  o.columns.headings[1] = "Artist";
  o.columns.headings[2] = "Album";
  o.columns.widths[3] = -140;
  std::swap(o.print.filesOrder[0], o.print.filesOrder[4]);
  o.print.viewsOrder[6] = {" Genre", 2};
  app.recentDatabases.Add("/m/a.tvd");
  app.copyMoveFolder = "/copy/";
  app.deviceKind = 2;
  const std::string first = Written();

  Application fresh{frontend};
  ReadSettings(IniFile::Parse(first), fresh, screen);
  EXPECT_EQ(WriteSettings(fresh).Text(), first);
  Options start;
  for (const SettingKey& k : SettingKeys()) {
    EXPECT_EQ(OptionText(k, fresh.options), OptionText(k, o)) << k.section << "/" << k.key;
    if (k.kind != KeyKind::Step && k.key != "Remember") {
      EXPECT_NE(OptionText(k, start), OptionText(k, o)) << "not changed: " << k.section << "/" << k.key;
    }
  }
  EXPECT_EQ(fresh.options.window.width, 900);
  EXPECT_EQ(fresh.options.print.filesOrder, o.print.filesOrder);
  EXPECT_EQ(fresh.options.columns.headings, o.columns.headings);
  EXPECT_EQ(fresh.columnMap.SlotOf(Column::Album), 1);
  EXPECT_EQ(fresh.deviceKind, 2);
  EXPECT_EQ(fresh.copyMoveFolder, "/copy/");
}

TEST_F(SettingsTest, SavingCreatesTheFolderAndNeverLeavesAHalfFile) {
  TempFolder folder;
  const std::string path = folder.Path() + "/config/tonvault/Tonvault.ini";
  ASSERT_FALSE(SaveSettings(app, path));
  const std::string old = Contents(path);
  app.options.search.matchCase = true;
  const files::WriteFault fault{100};
  EXPECT_TRUE(SaveSettings(app, path, &fault));
  EXPECT_EQ(Contents(path), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), {}), 1);

  ASSERT_FALSE(SaveSettings(app, path));
  Application fresh{frontend};
  EXPECT_EQ(LoadSettings(fresh, path, screen), SettingsRead::Read);
  EXPECT_TRUE(fresh.options.search.matchCase);
}

TEST_F(SettingsTest, AFailedWriteSaysWhichFileAndWhy) {
  TempFolder folder;
  const std::string blocker = folder.Path() + "/not-a-folder";
  std::ofstream(blocker) << "x";
  const std::string path = blocker + "/Tonvault.ini";
  EXPECT_FALSE(WriteSettingsFile(app, path));
  ASSERT_EQ(frontend.Log("beep").size(), 1u);
  EXPECT_EQ(frontend.Log("beep")[0], "beep: hand");
  const auto messages = frontend.Log("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("message(error): Cannot write the settings file\n\r\"" + path + "\"\n\r", 0), 0u)
      << messages[0];
}

// The user's own lines in the settings file survive the program's write.
TEST_F(SettingsTest, CommentsBlankLinesAndStrayKeysStayWhereTheyStood) {
  TempFolder folder;
  const std::string path = folder.Path() + "/Tonvault.ini";
  std::ofstream(path) << "; written by hand\nstray=1\n\n[Window]\n; my screen\nWidth = 900 \nHeight=700\n\n"
                         "[Unknown]\nkey=kept\n";
  ASSERT_EQ(LoadSettings(app, path, screen), SettingsRead::Read);
  EXPECT_EQ(app.options.window.width, 900) << "blanks around a value are ignored";
  ASSERT_FALSE(SaveSettings(app, path));
  const std::string written = Contents(path);
  EXPECT_EQ(written.rfind("; written by hand\nstray=1\n\n[Window]\n; my screen\n", 0), 0u) << written;
  EXPECT_NE(written.find("[Unknown]\nkey=kept\n"), std::string::npos);
  ASSERT_FALSE(SaveSettings(app, path));
  EXPECT_EQ(Contents(path), written) << "writing again changes nothing, no blank lines pile up";
}

TEST_F(SettingsTest, AnUnreadableSettingsFileIsNeverOverwritten) {
  TempFolder folder;
  const std::string path = folder.Path() + "/Tonvault.ini";
  fs::create_directory(path);  // unreadable as a file for anyone, root included
  EXPECT_EQ(LoadSettings(app, path, screen), SettingsRead::Unreadable);
  WarnSettingsUnreadable(app, path);
  EXPECT_EQ(frontend.Log("message"),
            (std::vector<std::string>{"message(warning): Cannot read the settings file\n\r\"" + path +
                                      "\"\n\rNot a regular file\n\r\rUsing defaults. The file is left as it is. [OK]"}));
  EXPECT_FALSE(WriteSettingsFile(app, path));
  EXPECT_EQ(frontend.Log("message").size(), 1u) << "said once";
  EXPECT_TRUE(fs::is_directory(path));

  // A file the user may not read: as an ordinary user here, or (since root
  // reads any file) in a child that gives up root's rights.
  const std::string locked = folder.Path() + "/locked.ini";
  std::ofstream(locked) << "[Window]\nWidth=1234\n";
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(folder.Path(), fs::perms::all);
  const auto endUnreadable = [&] {
    Application other{frontend};
    const bool unreadable = LoadSettings(other, locked, screen) == SettingsRead::Unreadable;
    EndWithoutWindow(other, locked);
    return unreadable ? 0 : 1;
  };
  if (::geteuid() == 0) {
    EXPECT_EQ(files::test::RunAsNobody(endUnreadable), 0);
  } else {
    fs::permissions(locked, fs::perms::none);
    EXPECT_EQ(endUnreadable(), 0);
    fs::permissions(locked, fs::perms::owner_read);
  }
  EXPECT_EQ(Contents(locked), "[Window]\nWidth=1234\n");
}

TEST(SettingsFilePathTest, AWritableFileBesideTheProgramWins) {
  TempFolder folder;
  const std::string program = folder.Path() + "/";
  ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
  EXPECT_EQ(SettingsFilePath(program), "/xdg/tonvault/Tonvault.ini");
  std::ofstream(program + "Tonvault.ini") << "";
  EXPECT_EQ(SettingsFilePath(program), program + "Tonvault.ini");
  ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(SettingsTest, EndingWithoutTheWindowKeepsUnsavedFilesAndTheSettings) {
  TempFolder folder;
  const std::string settings = folder.Path() + "/cfg/Tonvault.ini";
  EXPECT_EQ(EndWithoutWindow(app, settings), "");  // nothing unsaved
  EXPECT_TRUE(fs::exists(settings));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path() + "/cfg"), fs::directory_iterator()), 1);

  TrackRecord row;
  app.columnMap.Set(row, Column::Album, "Arrival");
  app.files.push_back(row);
  app.catalogueModified = true;
  app.recentDatabases.Add("/m/older.tvd");
  std::tm moment{};
  moment.tm_year = 126;
  moment.tm_mon = 11;
  moment.tm_mday = 9;
  moment.tm_hour = 17;
  moment.tm_min = 35;
  moment.tm_sec = 12;
  moment.tm_isdst = -1;
  const std::time_t now = std::mktime(&moment);
  const std::string recovered = folder.Path() + "/cfg/Tonvault-recovered-20261209-173512.tvd";
  EXPECT_EQ(EndWithoutWindow(app, settings, now), recovered);
  EXPECT_TRUE(frontend.Log().empty()) << "nothing may be asked";

  Application next{frontend};
  ASSERT_EQ(LoadSettings(next, settings, screen), SettingsRead::Read);
  ASSERT_EQ(next.recentDatabases.Entries(), (std::vector<std::string>{recovered, "/m/older.tvd"}));
  ASSERT_TRUE(ReadDatabase(next, recovered, false));
  ASSERT_EQ(next.files.size(), 1u);
  EXPECT_EQ(next.columnMap.Get(next.files[0], Column::Album), "Arrival");
}

// Two running copies ended by the system in the same second: the second
// copy's recovery catalogue gets a name of its own, and since the second
// copy writes the settings last, it lists the first copy's catalogue too.
TEST_F(SettingsTest, ARecoveryCatalogueNeverReplacesAnother) {
  TempFolder folder;
  const std::string settings = folder.Path() + "/cfg/Tonvault.ini";
  const std::time_t now = 1'800'000'000;
  Application first{frontend};
  Application second{frontend};
  for (auto [copy, album] : {std::pair{&first, "Arrival"}, std::pair{&second, "Gold"}}) {
    TrackRecord row;
    copy->columnMap.Set(row, Column::Album, album);
    copy->files.push_back(row);
    copy->catalogueModified = true;
  }
  second.recentDatabases.Add("/m/mine.tvd");
  const std::string firstPath = EndWithoutWindow(first, settings, now);
  const std::string secondPath = EndWithoutWindow(second, settings, now);
  ASSERT_FALSE(firstPath.empty());
  EXPECT_TRUE(frontend.Log().empty()) << "nothing may be asked";
  EXPECT_EQ(secondPath, firstPath.substr(0, firstPath.size() - 4) + "-2.tvd");
  EXPECT_EQ(RecoveryFilePath(folder.Path() + "/cfg", now), firstPath.substr(0, firstPath.size() - 4) + "-3.tvd");

  Application next{frontend};
  ASSERT_EQ(LoadSettings(next, settings, screen), SettingsRead::Read);
  EXPECT_EQ(next.recentDatabases.Entries(), (std::vector<std::string>{secondPath, firstPath, "/m/mine.tvd"}));
  for (auto [path, album] : {std::pair{firstPath, "Arrival"}, std::pair{secondPath, "Gold"}}) {
    Application reader{frontend};
    ASSERT_TRUE(ReadDatabase(reader, path, false));
    ASSERT_EQ(reader.files.size(), 1u);
    EXPECT_EQ(reader.columnMap.Get(reader.files[0], Column::Album), album);
  }
}


TEST(SubstituteTest, OnlyOneCharacterAFileNameCanHoldIsTaken) {
  EXPECT_TRUE(IsValidSubstitute("_"));
  EXPECT_TRUE(IsValidSubstitute("-"));
  for (const char* bad : {"", "__", ":", "*", "?", "\\", "/", "<", ">", "|", "\""}) {
    EXPECT_FALSE(IsValidSubstitute(bad)) << bad;
  }
  ScriptedFrontend frontend;
  RenameOptions rename;
  EXPECT_TRUE(TakeSubstitute(frontend, "+", rename));
  EXPECT_EQ(rename.substitute, "+");
  EXPECT_TRUE(frontend.Log().empty());
  EXPECT_FALSE(TakeSubstitute(frontend, "*", rename));
  EXPECT_EQ(rename.substitute, "_");
  EXPECT_EQ(frontend.Log(), std::vector<std::string>{"beep: default"});
}

TEST(SubstituteTest, ANonAsciiCharacterIsOneCharacter) {
  EXPECT_TRUE(IsValidSubstitute("é"));
  EXPECT_TRUE(IsValidSubstitute("€"));
  EXPECT_FALSE(IsValidSubstitute("éé"));
  EXPECT_FALSE(IsValidSubstitute("\xC3")) << "a cut sequence is no character";
  EXPECT_FALSE(IsValidSubstitute("e\xCC\x81")) << "a letter with a combining accent is two characters";
  ScriptedFrontend frontend;
  RenameOptions rename;
  EXPECT_TRUE(TakeSubstitute(frontend, "é", rename));
  EXPECT_EQ(rename.substitute, "é");
  EXPECT_TRUE(frontend.Log().empty()) << "no beep";
}

TEST(EndingTest, QuestionsWhileEndingGetTheCarefulAnswer) {
  EXPECT_EQ(AnswerWhileEnding(kStopQuestion, {Button::Yes, Button::No}), Button::Yes);
  EXPECT_EQ(AnswerWhileEnding("Overwrite ?", {Button::Yes, Button::All, Button::No, Button::Cancel}), Button::No);
  EXPECT_EQ(AnswerWhileEnding("Save list ?", {Button::Yes, Button::Cancel}), Button::Cancel);
  EXPECT_EQ(AnswerWhileEnding("Cannot read", {Button::Ok}), Button::Ok);
}

TEST_F(SettingsTest, DefaultsButtonResetsAllButSearchAndAsksFirst) {
  Read("[Window]\nListFontSize=11\n[ID3]\nExtractSeparator2=\"+\"\n[Sync]\nLengthTolerance=9\n"
       "[ColumnsOrder]\nColumnTitle1=\"Artist\"\nColumnTitle2=\"Album\"\n[Search]\nCase=1\n[MP3]\nCheckVBRPercent=9\n");
  app.catalogueModified = true;
  frontend.Answer(Button::No);
  EXPECT_FALSE(RestoreDefaults(app, screen));
  EXPECT_EQ(app.options.window.listFontSize, 11);

  frontend.Answer(Button::Yes);
  EXPECT_TRUE(RestoreDefaults(app, screen));
  EXPECT_EQ(frontend.Log("message").back(),
            "message(confirmation): After setting defaults\n\rTonvault will close\n\rwithout saving the list."
            "\n\r\r\rContinue ? [Yes/No] -> Yes");
  EXPECT_EQ(app.options.window.listFontSize, 8);
  EXPECT_EQ(app.options.mp3.cbrSeconds, 2);
  EXPECT_EQ(app.options.window.width, 872);
  EXPECT_EQ(app.options.window.left, (1600 - 872) / 2);
  EXPECT_EQ(app.options.columns.headings[1], "Album");
  EXPECT_TRUE(app.columnMap.IsIdentity());
  EXPECT_TRUE(app.options.search.matchCase) << "search options are not reset";
  EXPECT_FALSE(app.catalogueModified);
  const IniFile written = IniFile::Parse(Written());
  EXPECT_EQ(written.Get("ID3", "ExtractSeparator2"), "\"\"");
  EXPECT_EQ(written.Get("Sync", "LengthTolerance"), "3");
  EXPECT_EQ(written.Get("Upload", "ID3V1"), "0");
  EXPECT_EQ(app.options.sync.lengthTolerance, 3);
  EXPECT_EQ(app.options.rename.extractSeparators[1], "");
  EXPECT_EQ(app.options.upload.id3v1, 0);
  EXPECT_EQ(app.options.transferWindow.njbOff, false);
  EXPECT_EQ(app.deviceKind, 0);
}

}  // namespace
}  // namespace tonvault::catalogue
