#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library_check.h"
#include "tool_error.h"
#include "vb_header.h"

namespace tressol {

// An Authenticode certificate table: none, one, or one that lies outside the file, which
// makes a malformed image that is never changed.
enum class Signature { None, Present, OutsideFile };

// What became of one file. Pending: not looked at yet. Busy: held by another program;
// tried again later. LeftAside: an entry of a folder or a pattern that is not a regular
// file (a link, a device…).
enum class Result { Pending, Shown, Changed, AlreadySet, NotVb6, Failed, Busy, LeftAside };

struct FileOutcome {
  std::string path;      // as the target named it
  std::string openPath;  // the very entry that is opened: a listed name is never normalised
  std::string name;      // as the report names it: the path, or within a folder the file's name
  std::optional<std::string> linkTarget;  // a target named through a link: where it leads
  Result result = Result::Pending;
  Failure failure = Failure::Io;   // NotVb6 and Failed: the kind of failure
  std::string reason;              // NotVb6 and Failed: why, in a few words
  std::optional<VbHeader> header;  // as found before anything was written
  Signature signature = Signature::None;
  LanguageSettings settings;               // as the file holds them now
  std::optional<LanguageSettings> before;  // a set's VB6 file: as it held them before
  std::string checksum;                    // a change: what became of the PE checksum
  bool checksumRepaired = false;           // a set: the stored checksum was wrong, and mended
  std::optional<std::string> wayBack;      // a change: the command that undoes it
  std::string notExact;  // a change: why the way back cannot give the same bytes, if so
  std::vector<LibraryPresence> libraries;
};

}  // namespace tressol
