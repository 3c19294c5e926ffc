#include <gtest/gtest.h>

#include <regex>

#include "CommandOutcome.h"
#include "support/LibrarySynth.h"
#include "support/GoldenFile.h"
#include "support/TempFolder.h"

// What tonvault-cli import prints for a generated library (a 2 MB picture
// before the first frame, a tag size pointing past the end, a file cut in
// the middle of a frame, VBR streams with and without a header, WMA, WAV)
// must stay exactly as recorded: how the readers fetch their bytes may
// change, what they report may not. TONVAULT_WRITE_GOLDEN=1 records anew.
namespace tonvault::cli {
namespace {

const std::string kGolden = std::string(TONVAULT_TEST_DATA) + "/library-import.jsonl";

// The output with the temporary folder named "<library>" and the volume
// label (which depends on the machine) left out.
std::string Portable(std::string out, const std::string& folder) {
  for (std::size_t at = out.find(folder); at != std::string::npos; at = out.find(folder, at)) {
    out.replace(at, folder.size(), "<library>");
  }
  return std::regex_replace(out, std::regex(R"("Label": "[^"]*")"), R"("Label": "")");
}

std::string ImportOutput() {
  testing::TempFolder folder;
  testing::MakeLibrary(folder.Path());
  const std::vector<std::vector<std::string>> optionSets = {
      {}, {"--full-scan", "--tolerate", "3"}, {"--no-vbr-header", "--cbr-seconds", "5"}, {"--no-vbr-scan"}};
  std::string all;
  for (const std::vector<std::string>& options : optionSets) {
    Arguments arguments = options;
    for (const char* fixed : {"--subfolders", "--types", "mp3,wma,wav"}) arguments.push_back(fixed);
    arguments.push_back(folder.Path());
    const Outcome outcome = Capture(ImportCommand, arguments);
    all += "== import";
    for (const std::string& option : options) all += " " + option;
    all += " (exit " + std::to_string(outcome.status) + ")\n" + Portable(outcome.out, folder.Path());
  }
  return all;
}

TEST(ImportJson, EveryRowOfAGeneratedLibraryStaysAsRecorded) {
  const std::string output = ImportOutput();
  testing::ExpectAsRecorded(output, kGolden);
}

}  // namespace
}  // namespace tonvault::cli
