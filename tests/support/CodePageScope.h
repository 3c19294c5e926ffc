#pragma once

#include "audio/CodePages.h"

namespace tonvault::testing {

// Sets the legacy code page for one test and puts the previous one back.
class CodePageScope {
 public:
  explicit CodePageScope(audio::CodePage page) : previous_(audio::LegacyCodePage()) { audio::SetLegacyCodePage(page); }
  ~CodePageScope() { audio::SetLegacyCodePage(previous_); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;

 private:
  audio::CodePage previous_;
};

}  // namespace tonvault::testing
