// tressol: the tool's core over POSIX files, for Linux.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/ioctl.h>
#include <unistd.h>

#include "argument_words.h"
#include "posix_files.h"
#include "report.h"

namespace {

// Each file's lines show as soon as it is done; a terminal gets French typography.
class StreamOutput final : public tressol::Output {
 public:
  void Flush() override {
    Lay();
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    std::fflush(stdout);
    Shown();
  }
};

// A terminal's columns; 0 for a file or a pipe, where lines are not wrapped.
std::size_t Columns(int stream) {
  winsize size{};
  if (!isatty(stream)) return 0;
  return ioctl(stream, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

// The way back names the tool by its full path, whatever the folder it is run from.
std::string ToolPath(const char* argv0) {
  std::vector<char> path(4096);
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length > 0 && static_cast<std::size_t>(length) < path.size()) {
    return std::string(path.data(), static_cast<std::size_t>(length));
  }
  return argv0;
}

}  // namespace

int main(int argc, char** argv) {
  // The system's error texts in the user's language, as the rest of the report.
  std::setlocale(LC_MESSAGES, "");
  // The shell has split and expanded the words: tressol [OPTIONS] TARGET... [SETTINGS].
  std::string tail;
  for (int i = 1; i < argc; ++i)
    tail += " " + linguarde::arguments::QuotedArgument(std::string_view(argv[i]));
  tressol::PosixFileSystem files;
  StreamOutput output;
  output.outWidth = Columns(STDOUT_FILENO);
  output.errWidth = Columns(STDERR_FILENO);
  // A stream with columns is a terminal.
  output.outTypeset = output.outWidth > 0;
  output.errTypeset = output.errWidth > 0;
  output.toolPath = ToolPath(argc > 0 ? argv[0] : "tressol");
  if (const auto journal = tressol::EnvironmentValue("TRESSOL_JOURNAL")) {
    output.journalPath = *journal;
  }
  const int status = tressol::Run(tail, files, output);
  output.Flush();
  return status;
}
