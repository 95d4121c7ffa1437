// View and set against reading the file once, on a VB6 sample padded to 1 MB and 256 MB,
// all timed in turn in one run. A view of an EXE must not grow with the size; a set, which
// checks the whole file's checksum before it trusts the stored one, stays within 1.2 reads.
// The ways of summing the whole file side by side: through a mapping, and read in pieces of
// 256 KiB, 1 MiB and 2 MiB.
// Then 1,000 copies of the sample, in one folder and as a tree of sub-folders: a view and a
// set of them all against opening each file and reading its first 4 KiB.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "pe_checksum.h"
#include "tressol.h"
#include "posix_files.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The sample with zeros appended up to the size, and its checksum made valid again.
void WritePadded(const std::vector<char>& sample, const std::string& path, std::size_t size) {
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(sample.data(), static_cast<std::streamsize>(sample.size()));
    const std::vector<char> zeros(1 << 20, 0);
    for (std::size_t at = sample.size(); at < size; at += zeros.size()) {
      out.write(zeros.data(), static_cast<std::streamsize>(std::min(zeros.size(), size - at)));
    }
  }
  tressol::PosixFileSystem files;
  const auto file = files.Open(path, true);
  std::vector<std::uint8_t> dos(0x40);
  file->ReadAt(0, dos.data(), dos.size());
  const std::uint64_t field = tressol::U32(dos, 0x3C) + 24 + 64;
  std::vector<std::uint8_t> checksum(4);
  tressol::PutU32(checksum, 0, tressol::FullPeChecksum(*file, field));
  file->WriteAt(field, checksum.data(), 4);
  // On disk before timing starts, so that no set pays for flushing the padding.
  file->Flush();
}

// Into a buffer that starts on a page: a copy into one 16 bytes past a page, where a large
// allocation starts, takes twice as long on some processors, which made the floor vary.
double ReadOnce(const std::string& path) {
  constexpr std::size_t kPiece = 1 << 20;
  const std::unique_ptr<char, decltype(&std::free)> buffer(
      static_cast<char*>(std::aligned_alloc(4096, kPiece)), &std::free);
  const auto start = Clock::now();
  const int descriptor = open(path.c_str(), O_RDONLY);
  while (read(descriptor, buffer.get(), kPiece) > 0) {
  }
  close(descriptor);
  return Since(start);
}

// The sum as a mapping gives it: in place, each page faulted in.
double SumMapped(const std::string& path) {
  const auto start = Clock::now();
  const int descriptor = open(path.c_str(), O_RDONLY);
  struct stat status {};
  fstat(descriptor, &status);
  const std::size_t size = static_cast<std::size_t>(status.st_size);
  void* view = mmap(nullptr, size, PROT_READ, MAP_SHARED, descriptor, 0);
  const auto* bytes = static_cast<const std::uint8_t*>(view);
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i + 4 <= size; i += 4) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes + i, 4);
    sum += word;
  }
  munmap(view, size);
  close(descriptor);
  if (sum == 1) std::printf(" ");
  return Since(start);
}

double SumRead(const std::string& path, std::size_t chunk) {
  tressol::PosixFileSystem files;
  const auto start = Clock::now();
  const auto file = files.Open(path, false);
  if (tressol::FullPeChecksum(*file, 0x120, chunk) == 1) std::printf(" ");
  return Since(start);
}

double RunTool(const std::string& tail) {
  tressol::PosixFileSystem files;
  tressol::Output output;
  const auto start = Clock::now();
  const int status = tressol::Run(tail, files, output);
  const double elapsed = Since(start);
  if (status != 0) std::fprintf(stderr, "%s", output.err.c_str());
  return elapsed;
}

// Opens each file and reads its first 4 KiB: the floor of any look at every file.
double ReadHeads(const std::vector<std::string>& paths) {
  const auto start = Clock::now();
  std::vector<char> head(4096);
  for (const std::string& path : paths) {
    const int descriptor = open(path.c_str(), O_RDONLY);
    if (read(descriptor, head.data(), head.size()) <= 0) std::fprintf(stderr, "no read\n");
    close(descriptor);
  }
  return Since(start);
}

// The copies flat in one folder, or as a tree: ten sub-folders of a hundred, read with
// --recurse.
void FolderBench(const std::vector<char>& sample, bool tree) {
  constexpr int kCopies = 1000;
  constexpr int kRounds = 11;
  const std::string folder = "/tmp/tressol-bench-folder";
  std::vector<std::string> paths, folders;
  mkdir(folder.c_str(), 0755);
  for (int i = 0; i < kCopies; ++i) {
    std::string where = folder;
    if (tree) {
      where += "/sous-dossier" + std::to_string(i / 100);
      if (i % 100 == 0) {
        mkdir(where.c_str(), 0755);
        folders.push_back(where);
      }
    }
    paths.push_back(where + "/copie" + std::to_string(i) + ".exe");
    std::ofstream(paths.back(), std::ios::binary)
        .write(sample.data(), static_cast<std::streamsize>(sample.size()));
  }
  const std::string options = tree ? " --recurse" : "";
  std::vector<double> heads, view, change;
  for (int round = 0; round < kRounds; ++round) {
    heads.push_back(ReadHeads(paths));
    view.push_back(RunTool(options + " " + folder));
    change.push_back(RunTool(options + " --set" +
                             (round % 2 == 0 ? " vb6FR.dll 0x40C * 0x409 " : " * 0x409 ~ 0x0 ") +
                             folder));
  }
  const double h = Median(heads), v = Median(view), c = Median(change);
  std::printf(
      "%s of %d copies: open and read 4 KiB of each %8.1f ms | view %8.1f ms (%.2f of that) "
      "| set %8.1f ms (%.2f of that; medians of %d rounds)\n",
      tree ? "tree  " : "folder", kCopies, h, v, v / h, c, c / h, kRounds);
  for (const std::string& path : paths) std::remove(path.c_str());
  for (const std::string& sub : folders) rmdir(sub.c_str());
  rmdir(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string samples = argc > 1 ? argv[1] : "../shared/vb6-samples";
  std::ifstream in(samples + "/Setup.exe", std::ios::binary);
  const std::vector<char> sample((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
  if (sample.empty()) {
    std::fprintf(stderr, "Setup.exe not found in %s (give the samples' folder)\n", samples.c_str());
    return 1;
  }
  constexpr int kRounds = 21;
  const std::size_t sizes[] = {1u << 20, 256u << 20};
  for (int s = 0; s < 2; ++s) {
    const std::string path = "/tmp/tressol-bench-" + std::to_string(sizes[s] >> 20) + "MB.exe";
    WritePadded(sample, path, sizes[s]);
    std::vector<double> read, view, change;
    // Page cache warm: a read first, then read, view and set in turn, round after round.
    ReadOnce(path);
    for (int round = 0; round < kRounds; ++round) {
      read.push_back(ReadOnce(path));
      view.push_back(RunTool(" " + path));
      change.push_back(RunTool(" \"" + path + "\"" +
                               (round % 2 == 0 ? " vb6FR.dll 0x40C * 0x409" : " * 0x409 ~ 0x0")));
    }
    const double r = Median(read), v = Median(view), c = Median(change);
    std::printf(
        "%4zu MB: read once %8.3f ms | view %7.3f ms (%.4f of a read) | set %7.3f ms (%.2f of a "
        "read; medians of %d rounds)\n",
        sizes[s] >> 20, r, v, v / r, c, c / r, kRounds);
    std::vector<double> mapped, sums[3];
    const std::size_t chunks[] = {256u << 10, 1u << 20, 2u << 20};
    for (int round = 0; round < kRounds; ++round) {
      read[static_cast<std::size_t>(round)] = ReadOnce(path);
      mapped.push_back(SumMapped(path));
      for (int k = 0; k < 3; ++k) sums[k].push_back(SumRead(path, chunks[k]));
    }
    const double r2 = Median(read);
    std::printf(
        "%4zu MB sum: read once %8.3f ms | mapped %.2f | read in 256 KiB %.2f, 1 MiB %.2f, "
        "2 MiB %.2f (of a read; medians of %d rounds)\n",
        sizes[s] >> 20, r2, Median(mapped) / r2, Median(sums[0]) / r2, Median(sums[1]) / r2,
        Median(sums[2]) / r2, kRounds);
    std::remove(path.c_str());
  }
  FolderBench(sample, false);
  FolderBench(sample, true);
  return 0;
}
