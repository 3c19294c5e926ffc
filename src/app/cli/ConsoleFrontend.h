#pragma once

#include <iosfwd>

#include "catalogue/Application.h"
#include "catalogue/Frontend.h"

namespace tonvault::cli {

// The frontend of the headless tool: messages go to standard error, every
// question is answered the way that lets the work go on (Yes, OK), dialogs
// are cancelled, and the progress shows as one line on a terminal. Ctrl+C
// during a long operation stops it after the current item (file, row); what
// was done stays.
class ConsoleFrontend : public catalogue::Frontend {
 public:
  explicit ConsoleFrontend(std::ostream& messages);
  ~ConsoleFrontend() override;

  void Attach(catalogue::Application& app) { app_ = &app; }
  // Ends the progress line, if one was drawn.
  void FinishProgressLine();

  void Beep(catalogue::Sound) override {}
  catalogue::Button ShowMessage(catalogue::MessageKind kind, const std::string& text,
                                const catalogue::Buttons& buttons) override;
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override { return folderAnswer_; }
  std::vector<std::string> ChooseOpenFiles(const catalogue::FileDialogRequest&) override { return filesAnswer_; }
  // What the folder and several-files dialogs answer: a command's own
  // arguments standing for the user's choice.
  void AnswerDialogs(std::optional<std::string> folder, std::vector<std::string> files) {
    folderAnswer_ = std::move(folder);
    filesAnswer_ = std::move(files);
  }
  // How many error messages were shown.
  int Errors() const { return errors_; }
  std::optional<std::string> ChooseOpenFile(const catalogue::FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> ChooseSaveFile(const catalogue::FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> InputText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void ApplyCommandState(const catalogue::CommandState&) override {}
  void ShowPage(catalogue::Page) override {}
  void SetStatusPanel(int panel, const std::string& text) override;
  // Long operations report their progress after every item, while they pump
  // events only every few items: Ctrl+C is noticed here too, so it stops a
  // loop after the current item.
  void SetProgress(int, int) override;
  void SetProgressColours(catalogue::ProgressColour, catalogue::ProgressColour) override {}
  void SetWindowTitle(const std::string&) override {}
  void ListsChanged() override {}
  void PumpEvents() override;
  // Turns a Ctrl+C into the STOP command.
  void TakeInterrupt();
  bool OpenWithDefaultProgram(const std::string&) override { return false; }
  bool OpenManual(const std::string&, int) override { return false; }

 private:
  std::ostream& messages_;
  catalogue::Application* app_ = nullptr;
  bool terminal_ = false;
  bool lineOpen_ = false;
  std::optional<std::string> folderAnswer_;
  std::vector<std::string> filesAnswer_;
  int errors_ = 0;
};

}  // namespace tonvault::cli
