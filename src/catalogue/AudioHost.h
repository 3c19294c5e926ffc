#pragma once

#include <string>
#include <string_view>

#include "audio/ScanHost.h"
#include "audio/StreamScan.h"
#include "catalogue/Application.h"

namespace tonvault::catalogue {

// Lets the audio readers ask the user through the frontend: "Read Error !"
// questions (No stops the running long operation) and the stop request
// during an analysis.
class FrontendScanHost : public audio::ScanHost {
 public:
  explicit FrontendScanHost(Application& app) : app_(app) {}
  void SetFile(std::string_view path) override { file_ = path; }
  void OpenFailed() override;
  void ReadFailed() override;
  bool StopConfirmed() override;
  void PumpEvents() override;

 private:
  Application& app_;
  std::string file_;
};

// The read-error texts with the failing file's path on a line of its own
// after "Read Error !" (a catalogue of thousands of files needs it to act
// on the question); without a path, the plain texts.
std::string ReadErrorText(const std::string& path);
std::string ReadErrorQuestion(const std::string& path);

// The stream-scan options of the import, from the MP3 options.
audio::ScanOptions ImportScanOptions(const Mp3Options& options);

}  // namespace tonvault::catalogue
