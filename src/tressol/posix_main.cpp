// tressol: the tool's core over POSIX files, for Linux.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "posix_files.h"
#include "report.h"

namespace {

// Arguments are already split: each is quoted back so that the tail splits the same, and
// the targets stand in quotes, as the positional set needs them.
std::string Quoted(const std::string& word) {
  std::string out = "\"";
  std::size_t slashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    out.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
    slashes = 0;
    out += c;
  }
  out.append(2 * slashes, '\\');
  return out + "\"";
}

// Each file's lines show as soon as it is done; a terminal gets French typography.
class StreamOutput final : public tressol::Output {
 public:
  void Flush() override {
    const auto shown = [](const std::string& text, bool data, std::FILE* stream) {
      return !data && isatty(fileno(stream)) ? tressol::Typeset(text) : text;
    };
    std::fputs(shown(out, json, stdout).c_str(), stdout);
    std::fputs(shown(err, false, stderr).c_str(), stderr);
    std::fflush(stdout);
    out.clear();
    err.clear();
  }
};

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
  // The shell has split and expanded the words: tressol [OPTIONS] TARGET... [SETTINGS].
  std::string tail;
  for (int i = 1; i < argc; ++i) tail += " " + Quoted(argv[i]);
  tressol::PosixFileSystem files;
  StreamOutput output;
  output.toolPath = ToolPath(argc > 0 ? argv[0] : "tressol");
  if (const char* journal = std::getenv("TRESSOL_JOURNAL")) output.journalPath = journal;
  const int status = tressol::Run(tail, files, output);
  output.Flush();
  return status;
}
