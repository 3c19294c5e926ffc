#pragma once

#include <QIcon>

#include "ui/CommandTable.h"

namespace tonvault::ui {

// The tool button picture of a command.
QIcon ToolIconFor(CommandId id);

}  // namespace tonvault::ui
