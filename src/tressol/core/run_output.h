#pragma once

#include <cstddef>
#include <string>

#include "lines.h"
#include "run_terms.h"

namespace tressol {

// The report is made file by file; a front end that shows it as it comes empties the
// texts at each Flush.
class Output {
 public:
  virtual ~Output() = default;
  virtual void Flush() {}

  std::string out;    // the report (French text, or JSON Lines), UTF-8
  std::string err;    // the failure or the usage, UTF-8
  bool json = false;  // out holds JSON Lines: data, never typeset
  // Where the report is read, for the way back that it prints after each change.
  Shell shell = Shell::Posix;
  std::string toolPath = "tressol";  // absolute
  std::string journalPath;           // where the environment asks for the run's journal
  // The columns of the console that shows out and err; 0 where a file or a pipe takes them.
  std::size_t outWidth = 0;
  std::size_t errWidth = 0;
  // Whether a console shows them, in French typography; a file or a pipe gets the text as is.
  bool outTypeset = false;
  bool errTypeset = false;

  // The texts as they are shown: lines wrapped to the console, typeset, marks removed. A front
  // end lays each file's lines as it shows them; the run lays what is left at its end. What
  // is laid is laid once: without its marks, a command would be typeset like a sentence.
  void Lay() {
    LayFrom(out, outLaid_, json ? 0 : outWidth, !json && outTypeset);
    LayFrom(err, errLaid_, errWidth, errTypeset);
  }
  // The texts shown: what comes next is laid anew.
  void Shown() {
    out.clear();
    err.clear();
    outLaid_ = errLaid_ = 0;
  }

 private:
  static void LayFrom(std::string& text, std::size_t& laid, std::size_t width, bool typeset) {
    if (laid > text.size()) laid = 0;
    text.replace(laid, std::string::npos,
                 Laid(std::string_view(text).substr(laid), width, typeset));
    laid = text.size();
  }
  std::size_t outLaid_ = 0;
  std::size_t errLaid_ = 0;
};

// The exit status of a check that found a VB6 file whose settings differ.
inline constexpr int kDiffers = 5;
// That of a check that found a file's PE checksum wrong: not 5, which release scripts read as
// settings to set, nor above it, which cmd's "if errorlevel 5" would read the same way.
inline constexpr int kWrongChecksum = 1;

}  // namespace tressol
