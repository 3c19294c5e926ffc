#pragma once

#include <string>

#include "catalogue/repair/AnalysisPage.h"
#include "catalogue/repair/BatchAnalysis.h"

namespace tonvault::cli {

// One analysed file as a JSON line: the MP3 page's figures, its frame list
// ("groups", in list order, keyed by the list's captions) and the batch's
// verdict under `options`.
std::string AnalysisJson(const catalogue::AnalysisPage& page, const catalogue::FileVerdict& verdict);

// The same for people: the page's texts and the frame list as a table.
std::string AnalysisText(const catalogue::AnalysisPage& page, const catalogue::FileVerdict& verdict);

}  // namespace tonvault::cli
