#pragma once

#include <memory>
#include <string>

#include "command_line.h"
#include "file_system.h"
#include "journal.h"
#include "library_check.h"
#include "outcome.h"
#include "run_journal.h"
#include "target_file.h"
#include "tool_error.h"

// What happens to one file: a view, a check, a set (prepared, then made once its record is
// written), an undo.
namespace tressol {

// A file as its target names it, before anything is known of it.
FileOutcome Unprocessed(const std::string& path, const std::string& openPath,
                        const std::string& name);

// The outcome of a file that failed with that error: busy, or failed, and why.
FileOutcome Failed(FileOutcome outcome, const ToolError& error);

// What a set writes into one file, the file held open, and locked, until it is written.
struct PreparedSet {
  std::unique_ptr<TargetFile> file;
  JournalChange change;
  bool same = false;  // the settings as asked already: only the checksum is written
  WayBackCaveat caveat = WayBackCaveat::None;
};

// Views or prepares the set of one file. A file shown not to be a VB6 binary is NotVb6; a
// file that cannot be read well enough to tell, or a VB6 binary that cannot be set, is
// Failed and stays as it was; a file held by another program is Busy. A set to make is
// given back in set, its outcome still Pending. In place: an outcome is large.
void Process(FileOutcome& outcome, const Command& command, FileSystem& files,
             LibraryFinder& libraries, RunJournal& journal, std::unique_ptr<PreparedSet>& set);

// Makes a change whose record was committed.
void FinishSet(FileOutcome& outcome, const PreparedSet& set, const LanguageSettings& settings,
               RunJournal& journal);

}  // namespace tressol
