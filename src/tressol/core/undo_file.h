#pragma once

#include "file_system.h"
#include "journal.h"
#include "outcome.h"
#include "run_journal.h"

namespace tressol {

// Gives one file of a journal back its bytes from before the change, where it holds, in
// each region, the bytes from before or after it, has the size the run saw, and sums as
// those bytes imply: anything else means it was changed since, and it is left as it is.
// A file already as it was is not written. The undo is itself recorded in journal.
void UndoFile(FileOutcome& outcome, const JournalChange& change, FileSystem& files,
              RunJournal& journal);

}  // namespace tressol
