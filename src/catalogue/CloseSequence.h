#pragma once

#include "catalogue/Application.h"

namespace tonvault::catalogue {

inline constexpr const char* kNotSavedQuestion = "Content of list not saved !\n\r\rSave list ?";

// Asked before the window closes. Returns true when the window may close:
// always when nothing needs saving; after Yes only when the save succeeded.
// Cancel keeps the window open and shows the Files page.
bool CloseQuery(Application& app);

// Runs when the window closes: ends any wait for a transfer.
void OnClose(Application& app);

}  // namespace tonvault::catalogue
