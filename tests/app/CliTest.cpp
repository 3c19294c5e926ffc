#include <gtest/gtest.h>
#include <sys/stat.h>

#include "audio/Id3v1.h"
#include "audio/Id3v2Tag.h"

#include <csignal>
#include <filesystem>
#include <fstream>

#include "catalogue/Import.h"
#include "files/ReadWholeFile.h"
#include "files/ReplaceFile.h"

#include "cli/Commands.h"
#include "cli/JsonLines.h"
#include "cli/ReadOptions.h"
#include "cli/Session.h"
#include "support/CodePageScope.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace tonvault::cli {
namespace {

std::string DataFile(const std::string& name) { return std::string(TONVAULT_TEST_DATA) + "/" + name; }

TEST(JsonLines, StringsAreEscapedAndStayValidUtf8) {
  EXPECT_EQ(JsonString("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(JsonString(std::string("x\0y\n", 4)), R"("x\u0000y\u000a")");
  EXPECT_EQ(JsonString("Ärger 東京"), "\"Ärger 東京\"");
  EXPECT_EQ(JsonString("bad \xFF byte"), R"("bad \udcff byte")") << "a byte that is not UTF-8 round-trips";
  EXPECT_EQ(JsonString("\xED\xA0\x80"), R"("\udced\udca0\udc80")") << "an encoded surrogate is not UTF-8";
  EXPECT_EQ(JsonObject().Add("k", "v").Add("n", 3LL).Add("b", true).Line(), R"({"k": "v", "n": 3, "b": true})");
}

TEST(ReadOptions, FlagsSetTheImportOptions) {
  const ParsedArguments parsed =
      ParseReadOptions({"--no-vbr-scan", "--tolerate", "4", "--types", "mp3,wav", "--no-id3v1", "file.mp3"});
  EXPECT_TRUE(parsed.error.empty());
  EXPECT_FALSE(parsed.options.mp3.scanForVbr);
  EXPECT_EQ(parsed.options.mp3.errorsTolerated, 4);
  EXPECT_TRUE(parsed.options.import.wav);
  EXPECT_FALSE(parsed.options.import.wma);
  EXPECT_FALSE(parsed.options.import.readId3v1);
  EXPECT_EQ(parsed.rest, (std::vector<std::string>{"file.mp3"}));
  EXPECT_EQ(ParseReadOptions({"--tolerate"}).error, "--tolerate needs a number");
  EXPECT_EQ(ParseReadOptions({"--cbr-seconds", "40"}).error, "--cbr-seconds needs a number from 1 to 15");
  EXPECT_EQ(ParseReadOptions({"--types", "ogg"}).error,
            "--types takes a list of mp3, mp2, wma and wav, separated by commas");
  EXPECT_EQ(ParseReadOptions({"--frobnicate"}).error, "unknown option --frobnicate");
}

// "--codepage" may stand anywhere, holds for the whole run and refuses a
// name it does not offer.
TEST(ReadOptions, CodePageOptionSetsTheCodePageOfOldTags) {
  testing::CodePageScope restore(audio::CodePage::Windows1252);
  testing::TempFolder folder;
  const std::string file = folder.Path() + "/kino.mp3";
  std::filesystem::copy_file(DataFile("cbr-32k-32000-mono.mp3"), file);
  std::string tag(128, '\0');
  tag.replace(0, 3, "TAG");
  tag.replace(3, 12, "\xC3\xF0\xF3\xEF\xEF\xE0 \xEA\xF0\xEE\xE2\xE8");
  tag[127] = '\xFF';
  std::ofstream(file, std::ios::binary | std::ios::app) << tag;

  std::vector<std::string> arguments = {"probe", "--codepage", "windows-1251", file};
  EXPECT_EQ(TakeCodePageOption(arguments), "");
  EXPECT_EQ(arguments, (std::vector<std::string>{"probe", file}));
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ProbeCommand({file}), 0);
  EXPECT_NE(::testing::internal::GetCapturedStdout().find(R"("Title": "Группа крови")"), std::string::npos);

  std::vector<std::string> bad = {"--codepage", "cp1251", "probe"};
  EXPECT_NE(TakeCodePageOption(bad), "");
  EXPECT_EQ(audio::LegacyCodePage(), audio::CodePage::Windows1251) << "a refused name changes nothing";
  std::vector<std::string> last = {"probe", "--codepage"};
  EXPECT_NE(TakeCodePageOption(last), "") << "the name is missing";

  audio::SetLegacyCodePage(audio::CodePage::Windows1252);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ProbeCommand({file}), 0);
  EXPECT_NE(::testing::internal::GetCapturedStdout().find(R"("Title": "Ãðóïïà êðîâè")"), std::string::npos);
}

TEST(ProbeCommand, PrintsOneRowPerFileWithTheColumnCaptions) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int status = ProbeCommand({DataFile("id3lib-v23.mp3"), DataFile("missing.mp3")});
  const std::string out = ::testing::internal::GetCapturedStdout();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 1) << "one file was missing";
  EXPECT_NE(out.find(R"({"Album": "Gold", "Artist": "ABBA", "Title": "Waterloo", "Genre": "Pop", "Track": "3/12", )"
                     R"("Year": "1974", "Comment": "first single", "Size [kB]": "4", "Bitrate": "32 C", )"
                     R"("Freq.": "32000", "Mode": "Mono", "Length": "00:00:00", "Codec": "M1  L3", )"
                     R"("Filename": "id3lib-v23.mp3", )"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(R"("icon": 10, "file": )"), std::string::npos);
  EXPECT_NE(out.find(R"("badPlaces": 0)"), std::string::npos);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
  EXPECT_NE(err.find("missing.mp3: not a file"), std::string::npos);
}

// A file without tags or frames (all zeros) is corrupt, but its size is
// still its size, in the column and in the number alike.
TEST(ProbeCommand, AFileWithoutFramesKeepsItsSize) {
  testing::TempFolder folder;
  const std::string file = folder.Path() + "/zeros.mp3";
  std::ofstream(file, std::ios::binary) << std::string(65536, '\0');
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ProbeCommand({file}), 1);
  const std::string out = ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find(R"("Size [kB]": "64")"), std::string::npos) << out;
  EXPECT_NE(out.find(R"("fileSize": 65536)"), std::string::npos) << out;
}

TEST(ImportCommand, ReadsAFolderAsTheWindowDoes) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int status = ImportCommand({"--types", "wma,wav", "--verbose", TONVAULT_TEST_DATA});
  const std::string out = ::testing::internal::GetCapturedStdout();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 0);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5) << "three WAV and two WMA files";
  EXPECT_NE(err.find("5 of 5 files read"), std::string::npos);
  EXPECT_EQ(ImportCommand({"-o"}), 2);
}

TEST(SearchAndViewCommands, WorkOnACatalogueFile) {
  testing::TempFolder folder;
  const std::string catalogue = folder.Path() + "/tagged.tvd";
  ::testing::internal::CaptureStderr();
  ImportCommand({DataFile("id3lib-v23.mp3"), DataFile("mutagen-v23-utf16.mp3"), DataFile("eyed3-v24-utf8.mp3"), "-o",
                 catalogue});
  ::testing::internal::GetCapturedStderr();

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(SearchCommand({catalogue, "--text", "BJÖRK", "--columns", "artist"}), 0);
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "") << "Ö is not lowered: no match without the exact case";
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(SearchCommand({catalogue, "--text", "björk", "--columns", "artist,title"}), 0);
  out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(R"("Artist": "Björk")"), std::string::npos) << out;

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(ViewCommand({"genres", catalogue}), 0);
  out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
  EXPECT_NE(out.find(R"({"Genre": "Pop", "Artist": "ABBA", "Album": "Gold", "Tracks": "1", )"), std::string::npos)
      << out;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ViewCommand({"songs", catalogue}), 2);
  EXPECT_EQ(SearchCommand({catalogue, "--columns", "colour"}), 2);
  ::testing::internal::GetCapturedStderr();
}

TEST(TagCommand, WritesBothTagVersionsAndFailsLoudly) {
  testing::TempFolder folder;
  const std::string file = folder.Path() + "/song.mp3";
  std::filesystem::copy_file(DataFile("cbr-32k-32000-mono.mp3"), file);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(TagCommand({file, "--title", "Waterloo", "--artist", "ABBA", "--genre", "Pop", "--track", "3", "--v1", "--v2"}),
            0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), file + ": written\n");
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ProbeCommand({file}), 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find(R"("Artist": "ABBA", "Title": "Waterloo", "Genre": "Pop", "Track": "3")"), std::string::npos) << out;
  EXPECT_NE(out.find(R"("icon": 10)"), std::string::npos) << "both tags";

  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(TagCommand({folder.Path() + "/missing.mp3", "--title", "x"}), 1);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Error reading"), std::string::npos);
  ::testing::internal::GetCapturedStdout();
}

using testing::Contents;

// A WAV or WMA file holds byte pairs that look like an MPEG frame sync;
// writing a tag there used to cut the file's header off.
TEST(TagCommand, RefusesFilesThatAreNotMpegAudioAndLeavesThemAlone) {
  testing::TempFolder folder;
  for (const char* data : {"stereo-44100-16bit.wav", "stereo-64k-22050.wma"}) {
    const std::string file = folder.Path() + "/" + data;
    std::filesystem::copy_file(DataFile(data), file);
    const std::string before = Contents(file);
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--title", "X"}, {"--title", "X", "--v1"}, {"--remove-v2"}, {"--remove-v1"}}) {
      std::vector<std::string> arguments{file};
      arguments.insert(arguments.end(), options.begin(), options.end());
      ::testing::internal::CaptureStdout();
      ::testing::internal::CaptureStderr();
      EXPECT_EQ(TagCommand(arguments), 1) << data << " " << options[0];
      const std::string err = ::testing::internal::GetCapturedStderr();
      EXPECT_EQ(::testing::internal::GetCapturedStdout(), file + ": FAILED\n");
      EXPECT_NE(err.find("Not an MPEG audio file"), std::string::npos) << err;
      EXPECT_EQ(Contents(file), before) << data << " must stay byte-identical";
    }
  }
}

TEST(ImportCommand, ExitCodesTellScriptsWhatHappened) {
  testing::TempFolder folder;
  const std::string good = folder.Path() + "/good";
  const std::string bad = folder.Path() + "/bad";
  const std::string empty = folder.Path() + "/empty";
  for (const std::string& f : {good, bad, empty}) std::filesystem::create_directories(f);
  std::filesystem::copy_file(DataFile("cbr-32k-32000-mono.mp3"), good + "/a.mp3");
  std::filesystem::copy_file(DataFile("cbr-32k-32000-mono.mp3"), bad + "/a.mp3");
  std::ofstream(bad + "/b.mp3") << std::string(2000, 'x');  // no frame anywhere: corrupt
  ASSERT_EQ(::mkfifo((bad + "/c.mp3").c_str(), 0644), 0);   // no music, and open() would block

  const auto run = [](const std::vector<std::string>& arguments, std::string* err = nullptr) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = ImportCommand(arguments);
    ::testing::internal::GetCapturedStdout();
    const std::string captured = ::testing::internal::GetCapturedStderr();
    if (err != nullptr) *err = captured;
    return status;
  };
  std::string err;
  EXPECT_EQ(run({good}, &err), 0);
  EXPECT_EQ(err, "") << "quiet when not on a terminal";
  EXPECT_EQ(run({bad, "--verbose"}, &err), 1);
  EXPECT_NE(err.find(bad + "/c.mp3: not read (Not a regular file)"), std::string::npos) << err;
  EXPECT_NE(err.find("2 of 3 files read, 1 corrupt"), std::string::npos) << err;
  EXPECT_EQ(run({empty}, &err), 1);
  EXPECT_NE(err.find("no audio files found"), std::string::npos) << err;
  EXPECT_EQ(run({folder.Path() + "/nonexistent"}), 2);
  EXPECT_EQ(run({good, folder.Path() + "/nonexistent"}), 2);
}

// "--v1" adds ID3v1 to the ID3v2 tag; a value ID3v1's code page cannot hold
// still goes into ID3v2 whole, and the loss in ID3v1 is reported.
TEST(TagCommand, V1ComesBesideV2AndLostCharactersAreReported) {
  testing::TempFolder folder;
  const std::string file = folder.Path() + "/song.mp3";
  std::filesystem::copy_file(DataFile("cbr-32k-32000-mono.mp3"), file);
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(TagCommand({file, "--title", "Группа крови", "--artist", "Kino", "--album", "Café", "--v1"}), 0);
  const std::string err = ::testing::internal::GetCapturedStderr();
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(err, "tonvault-cli tag: " + file +
                     ": the ID3v1 title cannot hold \"Группа крови\" (Windows-1252 only); it is written as "
                     "\"?????? ?????\"\n")
      << "the artist and the Latin-1 album fit";
  EXPECT_EQ(audio::ReadId3v2Tag(file).title, "Группа крови");
  EXPECT_EQ(audio::ReadId3v1Tag(file).title, "?????? ?????");
  EXPECT_EQ(audio::ReadId3v1Tag(file).album, "Café");

  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(TagCommand({file, "--remove-v1"}), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "removing warns about nothing";
  ::testing::internal::GetCapturedStdout();
  EXPECT_FALSE(audio::ReadId3v1Tag(file).present);
  EXPECT_EQ(audio::ReadId3v2Tag(file).title, "Группа крови");
}

// A script that sets one field must not empty the others.
TEST(TagCommand, FieldsNotGivenKeepTheirValues) {
  testing::TempFolder folder;
  const std::string file = folder.Path() + "/song.mp3";
  std::filesystem::copy_file(DataFile("eyed3-v24-utf8.mp3"), file);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(TagCommand({file, "--title", "New title", "--comment", ""}), 0);
  EXPECT_EQ(TagCommand({file, "--v1", "--year", "2001"}), 0);
  ::testing::internal::GetCapturedStdout();
  const audio::Id3v2Values v2 = audio::ReadId3v2Tag(file);
  EXPECT_EQ(v2.title, "New title");
  EXPECT_EQ(v2.album, "Café del Mar");
  EXPECT_EQ(v2.artist, "Björk");
  EXPECT_EQ(v2.year, "2001") << "--v1 writes ID3v1 beside ID3v2";
  EXPECT_EQ(v2.comment, "");
  const audio::Id3v1Tag v1 = audio::ReadId3v1Tag(file);
  EXPECT_EQ(v1.year, "2001");
}

TEST(StatsAndExportCommands, ReportAndWriteWhatTheWindowWould) {
  testing::TempFolder folder;
  const std::string catalogue = folder.Path() + "/music.tvd";
  ::testing::internal::CaptureStderr();
  ImportCommand({DataFile("id3lib-v23.mp3"), DataFile("vbr-xing-32000-mono.mp3"), "-o", catalogue});
  ::testing::internal::GetCapturedStderr();
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(StatsCommand({catalogue, "--json"}), 0);
  const std::string stats = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(stats.find(R"("Tracks": "2")"), std::string::npos) << stats;
  EXPECT_NE(stats.find(R"("VBR": "1     50 %")"), std::string::npos) << stats;

  const std::string html = folder.Path() + "/albums.html";
  EXPECT_EQ(ExportCommand({catalogue, "--format", "html", "--view", "albums", "-o", html}), 0);
  std::ifstream in(html);
  const std::string page((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(page.find("<TITLE>Tonvault   -   Albums</TITLE>"), std::string::npos);
  EXPECT_NE(page.find("<TD>Gold</td><TD>ABBA</td>"), std::string::npos) << page;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ExportCommand({catalogue, "--format", "pdf", "-o", html}), 2);
  ::testing::internal::GetCapturedStderr();
}

TEST(DupesAndDiffCommands, PrintGroupsWithSeparatorsAndDifferences) {
  testing::TempFolder folder;
  const std::string catalogue = folder.Path() + "/music.tvd";
  ::testing::internal::CaptureStderr();
  ImportCommand({DataFile("id3lib-v23.mp3"), DataFile("id3lib-v23.mp3"), DataFile("cbr-32k-32000-mono.mp3"), "-o",
                 catalogue});
  ::testing::internal::GetCapturedStderr();
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(DupesCommand({catalogue, "--criteria", "title,artist", "--mode", "title=80%"}), 0);
  std::string out = ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;
  EXPECT_NE(out.find(R"("selected": false})"), std::string::npos);
  EXPECT_NE(out.find(R"("selected": true})"), std::string::npos);

  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(DiffCommand({catalogue, "--criteria", "filename"}), 0);
  out = ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
  EXPECT_NE(out.find("cbr-32k-32000-mono.mp3"), std::string::npos);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(DupesCommand({catalogue, "--criteria", "colour"}), 2);
  EXPECT_EQ(DupesCommand({catalogue, "--mode", "title=33%"}), 2);
  ::testing::internal::GetCapturedStderr();
}

TEST(DupesAndDiffCommands, DupesStopsBeforeAMillionLinesUnlessForced) {
  testing::TempFolder folder;
  const std::string catalogue = folder.Path() + "/untagged.tvd";
  {
    std::ofstream out(catalogue, std::ios::binary);
    out << "Fileversion: 1\r\n";
    for (int i = 0; i < 1500; ++i) {  // no tags at all: every pair alike
      out << "7\r\n";
      for (int c = 0; c < 13; ++c) out << "\r\n";
      out << "f" << i << ".mp3\r\n/m/\r\n\r\n";
    }
  }
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(DupesCommand({catalogue}), 1);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(::testing::internal::GetCapturedStdout().empty()) << "no row is printed";
  // Row j heads a group of 1500 - j rows: 1500 * 1501 / 2 - 1 rows and 1499 separators.
  EXPECT_NE(err.find("finds 1127248 lines for RESULTS"), std::string::npos) << err;
  EXPECT_NE(err.find("--force"), std::string::npos) << err;

  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(DupesCommand({catalogue, "--criteria", "filename", "--force"}), 0);
  EXPECT_TRUE(::testing::internal::GetCapturedStdout().empty()) << "no two file names alike";
  EXPECT_EQ(DiffCommand({catalogue, "--force"}), 2) << "diff never builds more rows than FILES has";
  ::testing::internal::GetCapturedStderr();
}

TEST(ImportCommand, CtrlCStopsTheImportAfterTheCurrentFile) {
  Session session;
  ::testing::internal::CaptureStderr();
  std::raise(SIGINT);  // pressed while the first file is read
  catalogue::BuildRows(session.app, {DataFile("id3lib-v23.mp3"), DataFile("cbr-32k-32000-mono.mp3"),
                                     DataFile("vbr-xing-32000-mono.mp3")});
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(session.app.files.size(), 1u) << err;
  EXPECT_NE(err.find("Do you really want to STOP ?"), std::string::npos);
}

TEST(ImportCommand, WritesACatalogueThatCatReadsBack) {
  testing::TempFolder folder;
  const std::string catalogue = folder.Path() + "/wav.tvd";
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ImportCommand({"--types", "wav", TONVAULT_TEST_DATA, "-o", catalogue}), 0);
  ::testing::internal::GetCapturedStderr();
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(CatCommand({catalogue}), 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
  EXPECT_NE(out.find(R"("Codec": "WAV", "Filename": "mono-8000-8bit.wav")"), std::string::npos) << out;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(CatCommand({folder.Path() + "/missing.tvd"}), 1);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Cannot read File"), std::string::npos);
}

}  // namespace
}  // namespace tonvault::cli

namespace tonvault::cli {
namespace {

TEST(PlayerCommand, InfoDescribesAPlayerFolderAndSaysWhenThereIsNone) {
  testing::TempFolder card;
  std::filesystem::create_directories(card.Path() + "/Music");
  std::filesystem::copy_file(DataFile("id3lib-v23.mp3"), card.Path() + "/Music/waterloo.mp3");
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(PlayerCommand({"info", "--player", "folder:" + card.Path()}), 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(R"("backend": "folder player")"), std::string::npos) << out;
  EXPECT_NE(out.find(R"("kind": 1, "kindName": "Nomad Jukebox")"), std::string::npos) << out;
  EXPECT_NE(out.find(R"("tracks": 1, "dataFiles": 0})"), std::string::npos) << out;

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlayerCommand({"info", "--player", "folder:" + card.Path() + "/missing"}), 1);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("No device found"), std::string::npos);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlayerCommand({"info", "--player", "cassette"}), 2);
  EXPECT_EQ(PlayerCommand({"list"}), 2);
  ::testing::internal::GetCapturedStderr();
}

TEST(PlayerCommand, InfoTellsOwnerClockVersionsFormatsAndStorageCounts) {
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(PlayerCommand({"info", "--player", "simulated:jukebox"}), 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  for (const char* part : {R"("serialNumber": "NJB-0000-0001")", R"("powerSource": "External")", R"("owner": )",
                           R"("clock": "2004-05-01 12:00:00")", R"("formats": [{"codec": "MP3", "maxSampleRate": 48000)",
                           R"("audioKB": )", R"("dataKB": )"}) {
    EXPECT_NE(out.find(part), std::string::npos) << part << "\n" << out;
  }
  // A folder player has no clock and no list of formats: they are left out.
  testing::TempFolder card;
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(PlayerCommand({"info", "--player", "folder:" + card.Path()}), 0);
  const std::string folder = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(folder.find("\"clock\""), std::string::npos) << folder;
  EXPECT_EQ(folder.find("\"formats\""), std::string::npos) << folder;
}

TEST(PlayerCommand, LsListsTheTracksAndRmDeletesThemById) {
  testing::TempFolder card;
  std::filesystem::create_directories(card.Path() + "/Music");
  std::filesystem::copy_file(DataFile("id3lib-v23.mp3"), card.Path() + "/Music/waterloo.mp3");
  const std::string player = "folder:" + card.Path();
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlayerCommand({"ls", "--player", player}), 0);
  const std::string out = ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  ASSERT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
  EXPECT_NE(out.find(R"("Filename": "waterloo.mp3", "Path": "--- NJB ---")"), std::string::npos) << out;
  const std::size_t at = out.find(R"("id": )");
  ASSERT_NE(at, std::string::npos) << out;
  const std::string id = out.substr(at + 6, out.find('}', at) - at - 6);

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlayerCommand({"rm", "999", "--player", player}), 1);  // no such track
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("no track with ID 999"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(card.Path() + "/Music/waterloo.mp3"));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlayerCommand({"rm", id, "--player", player}), 0);
  ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(std::filesystem::exists(card.Path() + "/Music/waterloo.mp3"));
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlayerCommand({"ls", "--player", player}), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  ::testing::internal::GetCapturedStderr();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlayerCommand({"rm", "--player", player}), 2);
  ::testing::internal::GetCapturedStderr();
}

TEST(PlayerCommand, PlaylistsAreLoadedFromFilesListedAndSavedAgain) {
  testing::TempFolder card, pc;
  std::filesystem::create_directories(card.Path() + "/Music");
  std::filesystem::copy_file(DataFile("cbr-32k-32000-mono.mp3"), card.Path() + "/Music/one.mp3");
  std::filesystem::copy_file(DataFile("mpeg2-24k-22050-mono.mp3"), card.Path() + "/Music/two.mp3");
  const std::string player = "folder:" + card.Path();
  // Untagged files are known by their file names as titles; the index built
  // from the files knows their lengths.
  ASSERT_FALSE(files::WriteWholeFile(pc.Path() + "/in.TVP", "Road \xE2\x86\x92 trip\r\n\r\ntwo\r\n\r\n\r\n\r\none\r\n\r\n\r\n"));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(PlayerCommand({"playlist-load", pc.Path() + "/in.TVP", "--player", player}), 0);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(PlayerCommand({"playlists", "--player", player}), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "{\"id\": 1, \"name\": \"Road \xE2\x86\x92 trip\", \"tracks\": 2, \"length\": \"00:00:06\", "
            "\"trackIds\": [2, 1]}\n");
  std::filesystem::create_directories(pc.Path() + "/out");
  EXPECT_EQ(PlayerCommand({"playlist-save", pc.Path() + "/out", "--player", player}), 0);
  EXPECT_EQ(PlayerCommand({"playlist-save", "--player", player}), 2);
  EXPECT_EQ(PlayerCommand({"playlists", "extra", "--player", player}), 2);
  ::testing::internal::GetCapturedStderr();
  std::string saved;
  ASSERT_FALSE(files::ReadWholeFile(pc.Path() + "/out/Road \xE2\x86\x92 trip.TVP", saved));
  EXPECT_EQ(saved, "\xEF\xBB\xBFRoad \xE2\x86\x92 trip\r\n\r\ntwo\r\n\r\n\r\n\r\none\r\n\r\n\r\n");
}

}  // namespace
}  // namespace tonvault::cli
