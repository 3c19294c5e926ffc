// tonvault-cli: the catalogue commands without a window.
#include <iostream>
#include <string_view>

#include "catalogue/BuildInfo.h"
#include "catalogue/Version.h"
#include "cli/Commands.h"
#include "cli/ReadOptions.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: tonvault-cli [--help] [--version] COMMAND [ARGS...]\n"
    "\n"
    "Works on audio files and Tonvault catalogues without opening a window,\n"
    "with the same code as the window program.\n"
    "\n"
    "Commands:\n"
    "  probe FILE...        print the catalogue row of each file as a JSON line\n"
    "  import DIR|FILE...   import files as the window does (add --subfolders to\n"
    "                       descend) and print the rows as JSON lines, or write\n"
    "                       them as a catalogue file with -o CATALOGUE.tvd\n"
    "  cat CATALOGUE.tvd... print the rows of catalogue files as JSON lines\n"
    "  search CATALOGUE.tvd --text T [--columns LIST] [--match-case] [--beginning]\n"
    "                       the rows the Search page would find\n"
    "  view albums|artists|genres CATALOGUE.tvd\n"
    "                       the lines of the album, artist or genre view\n"
    "  dupes CATALOGUE.tvd [--criteria LIST] [--mode title=80%] [--remove-duplicates] [-o FILE]\n"
    "                       the duplicate search (tonvault-cli dupes for all options)\n"
    "  diff CATALOGUE.tvd [same options] [--drive]   the difference search\n"
    "  stats CATALOGUE.tvd [--json]   the Statistics page's figures\n"
    "  export CATALOGUE.tvd --format txt|html [--view files|albums|artists|genres] -o FILE\n"
    "                       the list as a text or HTML file, as the window writes it\n"
    "  tag FILE... [--title T] [--artist A] ... [--v1] [--v2] [--remove-v2] ...\n"
    "                       write or remove ID3 tags (tonvault-cli tag for all options)\n"
    "  player info [--player folder:PATH|simulated:jukebox|simulated:nomad2|njb]\n"
    "                       the player's kind, storage and counts as JSON (default:\n"
    "                       a Jukebox through libnjb, else a player folder on\n"
    "                       removable media)\n"
    "  player ls [--player WHERE]   the player's tracks as JSON lines (keys of cat + \"id\")\n"
    "  player rm ID... [--player WHERE]   delete these tracks on the player\n"
    "  player update-tags CATALOGUE.tvd [--player WHERE] [--dry-run]\n"
    "                       bring the player's track data in line with the catalogue;\n"
    "                       prints the dry run's counts as JSON, then the real run's\n"
    "  player send FILE... [--player WHERE] [--existing never|always|ask] [--modify-copy-resistant]\n"
    "         [--min-free MB] [--full-scan] [--errors-tolerated N]\n"
    "                       copy files to the player; each row's final state as a JSON line\n"
    "  player get ID... -o DIR [--player WHERE] [--existing never|always|ask] [--rename]\n"
    "         [--id3v1 off|if-existing|create] [--id3v2 off|if-existing|create]\n"
    "                       copy tracks from the player into DIR; each row's final state as JSON\n"
    "  player sync CATALOGUE.tvd [--player WHERE] [--criteria LIST] [--show LIST] ...\n"
    "                       compare the catalogue with the player: one JSON line per\n"
    "                       result line, \"category\" and the \"pc\" and \"njb\" sides\n"
    "                       (tonvault-cli player sync for all options)\n"
    "  rename FILE... [--items LIST | --format F] [--dry-run] ...\n"
    "                       rename files from their tags (tonvault-cli rename for all options)\n"
    "  extract FILE... [--items LIST] [--separators S] [--dry-run] ...\n"
    "                       fill tags from file names (tonvault-cli extract for all options)\n"
    "  transform FILE... --field F (--replace A B | --lower | --words | --join ...) [--dry-run]\n"
    "                       change one tag field of each file (tonvault-cli transform for all options)\n"
    "  analyze FILE... [--json] | analyze --batch CATALOGUE.tvd -o RESULTS.tvd\n"
    "                       MP3 frame analysis, or the batch (tonvault-cli analyze for all options)\n"
    "  repair FILE [--before] [--after] [--groups N,...] [--no-backup] [--keep-date]\n"
    "                       repair an MP3 stream safely (tonvault-cli repair for all options)\n"
    "\n"
    "Option of every command:\n";

void PrintUsage(std::ostream& out) {
  out << kUsage << tonvault::cli::kCodePageHelp << "\nReading options of probe and import:\n"
      << tonvault::cli::kReadOptionsHelp;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tonvault;
  if (argc < 2) {
    PrintUsage(std::cerr);
    return 2;
  }
  cli::Arguments arguments(argv + 1, argv + argc);
  if (const std::string error = cli::TakeCodePageOption(arguments); !error.empty()) {
    std::cerr << "tonvault-cli: " << error << '\n';
    return 2;
  }
  if (arguments.empty()) {
    PrintUsage(std::cerr);
    return 2;
  }
  const std::string_view command = arguments[0];
  const cli::Arguments rest(arguments.begin() + 1, arguments.end());
  if (command == "--help" || command == "-h") {
    PrintUsage(std::cout);
    return 0;
  }
  if (command == "--version") {
    std::cout << "tonvault-cli " << catalogue::ProgramVersionText() << " (" << catalogue::kVersionString << ")\n";
    return 0;
  }
  if (command == "probe") return cli::ProbeCommand(rest);
  if (command == "import") return cli::ImportCommand(rest);
  if (command == "cat") return cli::CatCommand(rest);
  if (command == "search") return cli::SearchCommand(rest);
  if (command == "view") return cli::ViewCommand(rest);
  if (command == "tag") return cli::TagCommand(rest);
  if (command == "stats") return cli::StatsCommand(rest);
  if (command == "dupes") return cli::DupesCommand(rest);
  if (command == "diff") return cli::DiffCommand(rest);
  if (command == "export") return cli::ExportCommand(rest);
  if (command == "player") return cli::PlayerCommand(rest);
  if (command == "rename") return cli::RenameCommand(rest);
  if (command == "extract") return cli::ExtractCommand(rest);
  if (command == "transform") return cli::TransformCommand(rest);
  if (command == "analyze") return cli::AnalyzeCommand(rest);
  if (command == "repair") return cli::RepairCommand(rest);
  std::cerr << "tonvault-cli: unknown command '" << command << "'\n\n";
  PrintUsage(std::cerr);
  return 2;
}
