#include "cli/ConsoleFrontend.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <ostream>

namespace tonvault::cli {

namespace {

std::atomic<bool> interrupted{false};

void OnInterrupt(int) { interrupted = true; }

std::string Plain(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\r') {
      out += '\n';
      ++i;
    } else {
      out += text[i] == '\r' ? '\n' : text[i];
    }
  }
  return out;
}

}  // namespace

ConsoleFrontend::ConsoleFrontend(std::ostream& messages) : messages_(messages), terminal_(::isatty(2) != 0) {
  std::signal(SIGINT, OnInterrupt);
}

ConsoleFrontend::~ConsoleFrontend() {
  FinishProgressLine();
  std::signal(SIGINT, SIG_DFL);
}

void ConsoleFrontend::FinishProgressLine() {
  if (lineOpen_) messages_ << '\n';
  lineOpen_ = false;
}

catalogue::Button ConsoleFrontend::ShowMessage(catalogue::MessageKind kind, const std::string& text,
                                               const catalogue::Buttons& buttons) {
  FinishProgressLine();
  if (kind == catalogue::MessageKind::Error) ++errors_;
  messages_ << Plain(text) << '\n';
  for (catalogue::Button preferred : {catalogue::Button::Yes, catalogue::Button::Ok}) {
    for (catalogue::Button button : buttons) {
      if (button == preferred) return button;
    }
  }
  return buttons.empty() ? catalogue::Button::Ok : buttons.front();
}

void ConsoleFrontend::SetStatusPanel(int panel, const std::string& text) {
  if (!terminal_ || panel != 0 || text.empty()) return;
  messages_ << '\r' << text << "   " << std::flush;
  lineOpen_ = true;
}

void ConsoleFrontend::SetProgress(int, int) { TakeInterrupt(); }

void ConsoleFrontend::PumpEvents() { TakeInterrupt(); }

void ConsoleFrontend::TakeInterrupt() {
  if (interrupted.exchange(false) && app_ != nullptr) catalogue::StopCommand(*app_);
}

}  // namespace tonvault::cli
