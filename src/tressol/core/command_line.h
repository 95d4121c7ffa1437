#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run_terms.h"
#include "vb_header.h"

namespace tressol {

// A target and the settings that a bare tail ends with.
struct MeantChange {
  std::string target;
  std::string settings;
};

// A target is a file, a folder or a pattern (* and ? in its last component).
struct Command {
  std::vector<std::string> targets;
  std::optional<LanguageSettings> settings;  // --set: the change; nothing: a view
  std::optional<LanguageSettings> expected;  // --check: what every VB6 file must hold
  bool json = false;                         // JSON Lines instead of the French report
  bool recurse = false;                      // a folder's sub-folders too
  bool localOnly = false;                    // files only in the cloud left aside, unread
  bool help = false;                         // --help, -h, /?: the usage, and nothing else
  bool version = false;                      // --version
  std::optional<std::string> undo;           // --undo: the journal whose changes to undo
  bool dryRun = false;                       // --dry-run, with --undo: what it would do
  bool noJournal = false;  // --no-journal: changes unrecorded, each with its own way back

  Mode Doing() const {
    return undo ? Mode::Undo : settings ? Mode::Set : expected ? Mode::Check : Mode::View;
  }
  // A bare tail that ends with four settings: the change it was meant as.
  std::optional<MeantChange> meant;
};

// The words of a command-line tail, split as the C runtime splits a program's arguments.
std::vector<std::string> SplitArguments(const std::string& tail);

// Options come first: --json, --recurse, --undo JOURNAL, and --set or --check LIB1 LCID1 LIB2 LCID2
// followed by the targets as any shell passes them, "--" ending the options. Without --set, the
// positional form: "TARGET"... LIB1 LCID1 LIB2 LCID2, the targets in double quotes, sets; anything
// else views, and since the view action passes its target unquoted, an unquoted tail is one target,
// whole. Throws ToolError(Failure::Usage) for an unknown option, no target, malformed settings, or
// a target of a set that looks like a setting or an option; the usage is worded for the shell the
// tool runs from.
Command ParseCommandLine(const std::string& tail, Shell shell = Shell::Cmd);

// Whether the options ask for JSON, known before the rest is read: a mistake in the rest is
// then said in JSON too.
bool AsksForJson(const std::string& tail);

}  // namespace tressol
