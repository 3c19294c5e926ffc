#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/Frontend.h"

namespace tonvault::testing {

using namespace tonvault::catalogue;

// A frontend for tests: records every call as one line of text, in order,
// and answers questions and dialogs from queues the test fills. A question
// without a queued answer fails the test loudly (it throws), so an
// unexpected dialogue never passes by accident.
class ScriptedFrontend : public Frontend {
 public:
  // --- scripting ---
  void Answer(Button button) { answers_.push_back(button); }
  void ChooseFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
  // The answer of the next several-files open dialog (empty: cancelled).
  void ChooseFiles(std::vector<std::string> paths) { fileLists_.push_back(std::move(paths)); }
  void ChooseFolderAnswer(std::optional<std::string> path) { folders_.push_back(std::move(path)); }
  void Input(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
  // Runs `action` during the n-th call of PumpEvents (1-based), as a user
  // pressing Esc while a loop runs.
  void AtPump(int n, std::function<void()> action) { pumpActions_[n] = std::move(action); }

  // --- reading back ---
  const std::vector<std::string>& Log() const { return log_; }
  // The log lines that start with `prefix`.
  std::vector<std::string> Log(const std::string& prefix) const;
  void ClearLog() { log_.clear(); }
  int Pumps() const { return pumps_; }
  const CommandState& LastCommandState() const { return commandState_; }
  const std::string& Panel(int i) const { return panels_.at(static_cast<std::size_t>(i)); }
  const std::string& Title() const { return title_; }
  int ProgressHigh() const { return progressHigh_; }
  bool AnswersLeft() const { return !answers_.empty(); }
  // What the last open or save dialog was asked to show.
  const FileDialogRequest& LastFileDialog() const { return lastFileDialog_; }

  // --- Frontend ---
  void Beep(Sound sound) override;
  Button ShowMessage(MessageKind kind, const std::string& text, const Buttons& buttons) override;
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& startFolder) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
  std::vector<std::string> ChooseOpenFiles(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
  std::optional<std::string> InputText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
  void ApplyCommandState(const CommandState& state) override;
  void ShowPage(Page page) override;
  void SetStatusPanel(int panel, const std::string& text) override;
  void SetProgress(int posLo, int posHi) override;
  void SetProgressColours(ProgressColour first, ProgressColour second) override;
  void SetWindowTitle(const std::string& title) override;
  void ListsChanged() override;
  void PumpEvents() override;
  bool OpenWithDefaultProgram(const std::string& path) override;
  bool OpenManual(const std::string& path, int context) override;
  // Makes opening files and the manual fail, as on a desktop without a
  // player or browser.
  void NoProgramToOpenWith() { openSucceeds_ = false; }
  // A clock of the test's own: Sleep moves it on at once.
  std::chrono::steady_clock::time_point Now() override { return now_; }
  void Sleep(int milliseconds) override;
  // The time all sleeps took together, and how many there were.
  std::chrono::milliseconds Slept() const { return slept_; }
  int Sleeps() const { return sleeps_; }

 private:
  template <class T>
  T Next(std::deque<T>& queue, const std::string& what);

  std::vector<std::string> log_;
  bool openSucceeds_ = true;
  std::deque<Button> answers_;
  std::deque<std::optional<std::string>> files_, folders_, inputs_;
  std::deque<std::vector<std::string>> fileLists_;
  std::map<int, std::function<void()>> pumpActions_;
  int pumps_ = 0;
  CommandState commandState_;
  std::vector<std::string> panels_ = std::vector<std::string>(3);
  std::string title_;
  int progressHigh_ = 0;
  FileDialogRequest lastFileDialog_;
  std::chrono::steady_clock::time_point now_{std::chrono::hours(1000)};
  std::chrono::milliseconds slept_{0};
  int sleeps_ = 0;
};

std::string SoundName(Sound sound);
std::string ButtonName(Button button);

}  // namespace tonvault::testing
