#pragma once

#include <QIcon>

namespace tonvault::ui {

// The picture of a row's status icon code; a null icon for codes without
// one (-1 and codes no reader writes).
QIcon StatusIconFor(int code);

}  // namespace tonvault::ui
