#include <gtest/gtest.h>

#include "audio/MpegHeader.h"
#include "catalogue/AudioHost.h"
#include "catalogue/LongOperation.h"
#include "support/ScriptedFrontend.h"

namespace tonvault::catalogue {
namespace {

using testing::ScriptedFrontend;

TEST(FrontendScanHost, UnreadableFileAsksAndNoStopsTheOperation) {
  ScriptedFrontend frontend;
  Application app(frontend);
  FrontendScanHost host(app);
  frontend.Answer(Button::Yes);
  EXPECT_TRUE(audio::ReadMpegHeader("/nonexistent/a.mp3", host).error);
  EXPECT_FALSE(app.stopRequest);
  frontend.Answer(Button::No);
  EXPECT_EQ(audio::ScanMpegStream("/nonexistent/b.mp3", {}, host).result, -1);
  EXPECT_TRUE(app.stopRequest);
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{
                                "beep: exclamation",
                                "message(error): Read Error !\n\r/nonexistent/a.mp3\n\r\rContinue ? [Yes/No] -> Yes",
                                "beep: exclamation",
                                "message(error): Read Error !\n\r/nonexistent/b.mp3\n\r\rContinue ? [Yes/No] -> No",
                            }));
}

TEST(FrontendScanHost, StopDuringAnalysisIsConfirmedThroughTheFrontend) {
  ScriptedFrontend frontend;
  Application app(frontend);
  FrontendScanHost host(app);
  EXPECT_FALSE(host.StopConfirmed()) << "no request, no question";
  app.stopRequest = true;
  frontend.Answer(Button::No);
  EXPECT_FALSE(host.StopConfirmed());
  EXPECT_FALSE(app.stopRequest);
  app.stopRequest = true;
  frontend.Answer(Button::Yes);
  EXPECT_TRUE(host.StopConfirmed());
  EXPECT_EQ(frontend.Log("message"),
            (std::vector<std::string>{"message(confirmation): Do you really want to STOP ? [Yes/No] -> No",
                                      "message(confirmation): Do you really want to STOP ? [Yes/No] -> Yes"}));
}

TEST(ImportScanOptions, ComeFromTheMp3Options) {
  Mp3Options mp3;
  mp3.errorsTolerated = 4;
  mp3.fullScan = true;
  mp3.cbrSeconds = 5;
  mp3.readVbrHeader = false;
  const audio::ScanOptions scan = ImportScanOptions(mp3);
  EXPECT_EQ(scan.toleratedErrors, 4);
  EXPECT_TRUE(scan.fullScan);
  EXPECT_FALSE(scan.analysisMode);
  EXPECT_EQ(scan.cbrSeconds, 5);
  EXPECT_FALSE(scan.readVbrHeader);
}

}  // namespace
}  // namespace tonvault::catalogue

#include <filesystem>
#include <fstream>

#include "catalogue/TagWriting.h"
#include "support/MpegSynth.h"
#include "support/TempFolder.h"

namespace tonvault::catalogue {
namespace {

TEST(WriteId3v1, FailureSaysWhichFileAndKeepsTheDateWhenAsked) {
  ScriptedFrontend frontend;
  Application app(frontend);
  EXPECT_FALSE(WriteId3v1(app, "/nonexistent/song.mp3", {}, false));
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{
                                "beep: exclamation",
                                "message(error): Cannot write file\n\r/nonexistent/song.mp3  !\n\r\r(Write protected ?) [OK]"}));

  tonvault::testing::TempFolder folder;
  const std::string path = folder.Path() + "/song.mp3";
  const tonvault::testing::Bytes frames = tonvault::testing::Frames({}, 2);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(frames.data()),
                                              static_cast<std::streamsize>(frames.size()));
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1000);
  std::filesystem::last_write_time(path, old);
  app.options.id3.keepOriginalFileDate = true;
  audio::Id3v1Fields fields;
  fields.title = "Song";
  EXPECT_TRUE(WriteId3v1(app, path, fields, false));
  EXPECT_EQ(std::filesystem::last_write_time(path), old);
  EXPECT_EQ(audio::ReadId3v1Tag(path).title, "Song");
}

}  // namespace
}  // namespace tonvault::catalogue

namespace tonvault::catalogue {
namespace {

TEST(WriteId3v2, FailureBeepsAndShowsTheWritersMessage) {
  ScriptedFrontend frontend;
  Application app(frontend);
  tonvault::testing::TempFolder folder;
  const std::string path = folder.Path() + "/nosync.mp3";
  std::ofstream(path) << std::string(500, 'x');
  EXPECT_FALSE(WriteId3v2(app, path, {}, false));
  EXPECT_EQ(frontend.Log(), (std::vector<std::string>{
                                "beep: exclamation",
                                "message(error): Error reading \"" + path + "\" !\n\r\rBegin of MP3-frames not found [OK]"}));
}

}  // namespace
}  // namespace tonvault::catalogue
