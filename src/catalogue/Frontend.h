#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/CommandState.h"
#include "catalogue/Page.h"

namespace tonvault::catalogue {

// The sounds that precede message boxes.
enum class Sound { Default, Question, Exclamation, Hand, Asterisk };

enum class MessageKind { Confirmation, Error, Information, Warning };

enum class Button { Ok, Yes, No, Cancel, All, YesToAll, NoToAll, Ignore };
using Buttons = std::vector<Button>;

// The colours a progress bar's gradient is drawn from.
enum class ProgressColour { Navy, Fuchsia, Lime, Green, Maroon, Blue, Purple, Red, Yellow, Aqua };
inline constexpr int kProgressColourCount = 10;

// An open or save dialog. `filter` uses the "Description|*.EXT" form.
struct FileDialogRequest {
  std::string title;
  std::string folder;
  std::string proposedName;
  std::string defaultExtension;
  std::string filter;
};

// Everything a command needs from the window. Commands reach the user only
// through this interface, so tests script the answers and read back every
// text. Texts keep "\n\r" line breaks; a window turns them into line breaks
// for display.
class Frontend {
 public:
  virtual ~Frontend() = default;

  virtual void Beep(Sound sound) = 0;
  // Shows a message box and returns the button the user chose.
  virtual Button ShowMessage(MessageKind kind, const std::string& text, const Buttons& buttons) = 0;

  virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& startFolder) = 0;
  virtual std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) = 0;
  // An open dialog that lets the user choose several existing files; empty
  // when cancelled.
  virtual std::vector<std::string> ChooseOpenFiles(const FileDialogRequest& request) {
    auto chosen = ChooseOpenFile(request);
    return chosen ? std::vector<std::string>{*chosen} : std::vector<std::string>{};
  }
  virtual std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> InputText(const std::string& title, const std::string& prompt,
                                               const std::string& initial) = 0;

  virtual void ApplyCommandState(const CommandState& state) = 0;
  virtual void ShowPage(Page page) = 0;
  virtual void SetStatusPanel(int panel, const std::string& text) = 0;
  virtual void SetProgress(int posLo, int posHi) = 0;
  virtual void SetProgressColours(ProgressColour first, ProgressColour second) = 0;
  virtual void SetWindowTitle(const std::string& title) = 0;
  // The rows of FILES or RESULTS changed (rows, order, selection or sort
  // arrows); the window redraws its lists from them.
  virtual void ListsChanged() = 0;
  // Lets pending window events run (repaint, Esc, selection changes).
  virtual void PumpEvents() = 0;
  // Opens a file with the program the desktop uses for its type; false when
  // that could not be started.
  virtual bool OpenWithDefaultProgram(const std::string& path) = 0;
  // Opens the manual (an HTML file) at help context `context` in the web
  // browser; false when no browser could be started.
  virtual bool OpenManual(const std::string& path, int context) = 0;

  // The clock every wait of a command reads, and the one way a command
  // sleeps, so tests run long waits on a clock of their own in no time.
  virtual std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }
  virtual void Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
};

// Beeps and asks in one step, the usual pairing.
inline Button Ask(Frontend& frontend, Sound sound, MessageKind kind, const std::string& text,
                  const Buttons& buttons) {
  frontend.Beep(sound);
  return frontend.ShowMessage(kind, text, buttons);
}

}  // namespace tonvault::catalogue
