#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "catalogue/Frontend.h"

namespace tonvault::ui {

// Program texts break lines with "\n\r"; on screen that is one line break.
QString DisplayText(const std::string& text);

// "Description (*.EXT)|*.EXT" as a Qt name filter that matches the pattern
// in either letter case: "Description (*.EXT *.ext)".
QString NameFilter(const std::string& filter);

catalogue::Button ShowMessageBox(QWidget* parent, catalogue::MessageKind kind, const std::string& text,
                                 const catalogue::Buttons& buttons);
std::optional<std::string> ShowOpenDialog(QWidget* parent, const catalogue::FileDialogRequest& request);
std::vector<std::string> ShowOpenFilesDialog(QWidget* parent, const catalogue::FileDialogRequest& request);
std::optional<std::string> ShowSaveDialog(QWidget* parent, const catalogue::FileDialogRequest& request);
std::optional<std::string> ShowFolderDialog(QWidget* parent, const std::string& title, const std::string& start);
std::optional<std::string> ShowInputDialog(QWidget* parent, const std::string& title, const std::string& prompt,
                                           const std::string& initial);

}  // namespace tonvault::ui
