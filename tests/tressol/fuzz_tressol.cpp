// libFuzzer target: any bytes as a target, viewed and set, and as a journal, read. No crash,
// no sanitizer report, a refused file is never written, and a set writes only the settings
// and the checksum.
#include <cstdlib>

#include "journal.h"
#include "tool_error.h"
#include "tressol.h"
#include "memory_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tressol;
  using namespace tressol::test;
  const std::vector<std::uint8_t> original(data, data + size);
  for (const char* tail : {" t", " \"t\" vb6FR.dll 0x40C * 0x409"}) {
    MemoryFileSystem files;
    files.journalRoom = 1 << 20;
    files.targets["t"].bytes = original;
    Output output;
    const int status = Run(tail, files, output);
    const MemoryTarget& target = files.targets["t"];
    if (status != 0 && target.bytes != original) std::abort();
    if (status == 3 && target.writes != 0) std::abort();
    std::size_t changed = 0;
    for (std::size_t i = 0; i < size; ++i) changed += target.bytes[i] != original[i];
    if (changed > 38 + 4) std::abort();
  }
  try {
    ParseJournal(std::string(original.begin(), original.end()));
  } catch (const ToolError&) {
    // Not a journal: said, never read as one.
  }
  return 0;
}
