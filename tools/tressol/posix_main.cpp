// tressol: the tool's core over POSIX files, for Linux.
#include <cstdio>
#include <string>

#include "posix_files.h"

namespace {

// Arguments are already split: each is quoted back so that the tail splits the same, and
// the target stands in quotes, as a set needs it.
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

// Each file's lines show as soon as it is done.
class StreamOutput final : public tressol::Output {
 public:
  void Flush() override {
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    std::fflush(stdout);
    out.clear();
    err.clear();
  }
};

}  // namespace

int main(int argc, char** argv) {
  // The shell has split and expanded the targets: tressol [--json] TARGET... [SETTINGS].
  std::string tail;
  int first = 1;
  if (argc > 1 && std::string(argv[1]) == "--json") {
    tail = " --json";
    first = 2;
  }
  for (int i = first; i < argc; ++i) tail += " " + Quoted(argv[i]);
  tressol::PosixFileSystem files;
  StreamOutput output;
  const int status = tressol::Run(tail, files, output);
  output.Flush();
  return status;
}
