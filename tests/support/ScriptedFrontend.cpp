#include "support/ScriptedFrontend.h"

namespace tonvault::testing {

std::string SoundName(Sound sound) {
  switch (sound) {
    case Sound::Default: return "default";
    case Sound::Question: return "question";
    case Sound::Exclamation: return "exclamation";
    case Sound::Hand: return "hand";
    case Sound::Asterisk: return "asterisk";
  }
  return "?";
}

std::string ButtonName(Button button) {
  switch (button) {
    case Button::Ok: return "OK";
    case Button::Yes: return "Yes";
    case Button::No: return "No";
    case Button::Cancel: return "Cancel";
    case Button::All: return "All";
    case Button::YesToAll: return "Yes to All";
    case Button::NoToAll: return "No to All";
    case Button::Ignore: return "Ignore";
  }
  return "?";
}

namespace {
std::string KindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::Confirmation: return "confirmation";
    case MessageKind::Error: return "error";
    case MessageKind::Information: return "information";
    case MessageKind::Warning: return "warning";
  }
  return "?";
}
}  // namespace

std::vector<std::string> ScriptedFrontend::Log(const std::string& prefix) const {
  std::vector<std::string> lines;
  for (const auto& line : log_) {
    if (line.rfind(prefix, 0) == 0) lines.push_back(line);
  }
  return lines;
}

template <class T>
T ScriptedFrontend::Next(std::deque<T>& queue, const std::string& what) {
  if (queue.empty()) throw std::logic_error("unscripted " + what);
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

void ScriptedFrontend::Sleep(int milliseconds) {
  now_ += std::chrono::milliseconds(milliseconds);
  slept_ += std::chrono::milliseconds(milliseconds);
  ++sleeps_;
}

void ScriptedFrontend::Beep(Sound sound) { log_.push_back("beep: " + SoundName(sound)); }

Button ScriptedFrontend::ShowMessage(MessageKind kind, const std::string& text, const Buttons& buttons) {
  std::string line = "message(" + KindName(kind) + "): " + text + " [";
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (i != 0) line += '/';
    line += ButtonName(buttons[i]);
  }
  line += "]";
  if (buttons.size() == 1) {
    log_.push_back(line);
    return buttons.front();
  }
  const Button answer = Next(answers_, "question: " + text);
  log_.push_back(line + " -> " + ButtonName(answer));
  return answer;
}

std::optional<std::string> ScriptedFrontend::ChooseFolder(const std::string& title, const std::string& startFolder) {
  auto answer = Next(folders_, "folder dialog: " + title);
  log_.push_back("folder dialog: " + title + " @" + startFolder + " -> " + answer.value_or("(cancel)"));
  return answer;
}

std::optional<std::string> ScriptedFrontend::ChooseOpenFile(const FileDialogRequest& request) {
  lastFileDialog_ = request;
  auto answer = Next(files_, "open dialog: " + request.title);
  log_.push_back("open dialog: " + request.title + " -> " + answer.value_or("(cancel)"));
  return answer;
}

std::vector<std::string> ScriptedFrontend::ChooseOpenFiles(const FileDialogRequest& request) {
  lastFileDialog_ = request;
  auto answer = Next(fileLists_, "open dialog: " + request.title);
  log_.push_back("open dialog: " + request.title + " -> " + std::to_string(answer.size()) + " files");
  return answer;
}

std::optional<std::string> ScriptedFrontend::ChooseSaveFile(const FileDialogRequest& request) {
  lastFileDialog_ = request;
  auto answer = Next(files_, "save dialog: " + request.title);
  log_.push_back("save dialog: " + request.title + " -> " + answer.value_or("(cancel)"));
  return answer;
}

std::optional<std::string> ScriptedFrontend::InputText(const std::string& title, const std::string& prompt,
                                                       const std::string&) {
  auto answer = Next(inputs_, "input: " + title);
  log_.push_back("input: " + title + ": " + prompt + " -> " + answer.value_or("(cancel)"));
  return answer;
}

void ScriptedFrontend::ApplyCommandState(const CommandState& state) {
  commandState_ = state;
  log_.push_back("state: " + std::to_string(state.code));
}

void ScriptedFrontend::ShowPage(Page page) { log_.push_back("page: " + std::string(PageCaption(page))); }

void ScriptedFrontend::SetStatusPanel(int panel, const std::string& text) {
  panels_.at(static_cast<std::size_t>(panel)) = text;
  log_.push_back("panel" + std::to_string(panel) + ": " + text);
}

void ScriptedFrontend::SetProgress(int, int posHi) {
  progressHigh_ = posHi;
  log_.push_back("progress: " + std::to_string(posHi));
}

void ScriptedFrontend::SetProgressColours(ProgressColour, ProgressColour) { log_.push_back("progress colours"); }

void ScriptedFrontend::SetWindowTitle(const std::string& title) {
  title_ = title;
  log_.push_back("title: " + title);
}

void ScriptedFrontend::ListsChanged() { log_.push_back("lists changed"); }

bool ScriptedFrontend::OpenWithDefaultProgram(const std::string& path) {
  log_.push_back("open: " + path + (openSucceeds_ ? "" : " -> failed"));
  return openSucceeds_;
}

bool ScriptedFrontend::OpenManual(const std::string& path, int context) {
  log_.push_back("open manual: " + path + " #" + std::to_string(context) + (openSucceeds_ ? "" : " -> failed"));
  return openSucceeds_;
}

void ScriptedFrontend::PumpEvents() {
  ++pumps_;
  log_.push_back("pump");
  if (auto found = pumpActions_.find(pumps_); found != pumpActions_.end()) found->second();
}

}  // namespace tonvault::testing
