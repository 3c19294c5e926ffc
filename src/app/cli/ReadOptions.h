#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/Options.h"

namespace tonvault::cli {

// The reading options of the command line, shared by probe and import:
//   --no-vbr-scan --full-scan --tolerate N --cbr-seconds N --no-vbr-header
//   --no-id3v1 --no-id3v2 --types mp3,mp2,wma,wav
// Consumes the flags it knows from `arguments` and returns the rest, or an
// error text.
struct ParsedArguments {
  catalogue::Options options;
  std::vector<std::string> rest;
  std::string error;
};

ParsedArguments ParseReadOptions(const std::vector<std::string>& arguments, const std::vector<std::string>& flags = {});

// Takes "--codepage NAME" out of `arguments`, wherever it stands, and makes
// NAME the code page of single-byte texts (ID3v1, ID3v2 encoding 0, old
// catalogues) for the whole run. Returns an error text, empty when the
// arguments are fine.
std::string TakeCodePageOption(std::vector<std::string>& arguments);

inline constexpr const char* kCodePageHelp =
    "  --codepage NAME    code page of ID3v1 tags, ID3v2 frames in encoding 0 and\n"
    "                     old catalogue files, for every command (default\n"
    "                     Windows-1252): Windows-1250, -1251, -1252, -1253, -1254,\n"
    "                     -1257, ISO-8859-1, -2, -5, -15, KOI8-R\n";

inline constexpr const char* kReadOptionsHelp =
    "  --no-vbr-scan      do not walk MPEG streams (faster; no VBR detection)\n"
    "  --full-scan        walk every frame, also of constant-bitrate files\n"
    "  --tolerate N       bad places allowed before a file counts as corrupt\n"
    "  --cbr-seconds N    decide constant bitrate after N seconds (1..15)\n"
    "  --no-vbr-header    ignore Xing/VBRI headers\n"
    "  --no-id3v1         do not read ID3v1 tags\n"
    "  --no-id3v2         do not read ID3v2 tags\n"
    "  --types LIST       file types to collect: mp3,mp2,wma,wav (default mp3)\n";

}  // namespace tonvault::cli
