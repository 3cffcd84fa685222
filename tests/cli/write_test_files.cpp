// Page files for the command-line tests: write_test_files DIR
#include <filesystem>
#include <string>
#include <vector>

#include "pagewriter.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);

  // 663 chunks; chunk i holds i % 7 + 1 bytes.
  PageFileLayout full;
  for (int i = 0; i < 663; ++i)
    full.Chunks.push_back({std::vector<uint8_t>(static_cast<size_t>(i % 7 + 1), 1), {}, {}});
  bool ok = WritePageFile((dir / "full.wl6").string(), full);

  // 65,535 chunks of 65,535 bytes, every one beyond the end of a 393,222-byte file.
  PageFileLayout hostile;
  for (int i = 0; i < 65535; ++i)
    hostile.Chunks.push_back({{}, 0x80000000u + static_cast<uint32_t>(i), 65535});
  std::vector<uint8_t> bytes = BuildPageFile(hostile);
  bytes.resize(393222, 0xAB);
  ok = WriteBytes((dir / "hostile.wl6").string(), bytes) && ok;

  ok = WriteBytes((dir / "short.wl6").string(), {1}) && ok;
  return ok ? 0 : 1;
}
