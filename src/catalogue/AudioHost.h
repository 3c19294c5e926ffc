#pragma once

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
  void OpenFailed() override;
  void ReadFailed() override;
  bool StopConfirmed() override;
  void PumpEvents() override;

 private:
  Application& app_;
};

// The stream-scan options of the import, from the MP3 options.
audio::ScanOptions ImportScanOptions(const Mp3Options& options);

}  // namespace tonvault::catalogue
