#include "pagefile/wlfile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <numeric>
#include <tuple>
#include <vector>

#include "pagefiles.h"
#include "pagewriter.h"
#include "tempdir.h"

namespace {

PageFileLayout ChunksOfSizes(size_t n, size_t size) {
  PageFileLayout layout;
  for (size_t i = 0; i < n; ++i)
    layout.Chunks.push_back({std::vector<uint8_t>(size, static_cast<uint8_t>(i)), {}, {}});
  return layout;
}

// Checks the table invariants that every load must leave behind: the
// section counts and byte totals (64-bit, so no wrap) agree with the chunks.
void ExpectConsistent(const RWlFile& f) {
  std::vector<int64_t> totals(6);  // the counts, then the bytes, of textures, sprites and the rest
  for (size_t i = 0; i < f.Chunks.size(); ++i) {
    const RWlChunk& c = f.Chunks[i];
    EXPECT_TRUE(c.Data.Size == c.Size && c.Data.Stored <= c.Size && !c.Image && c.Colors == 0) << i;
    const auto k = static_cast<size_t>(SectionOf(static_cast<uint32_t>(i)));
    ++totals[k];
    totals[3 + k] += c.Size;
  }
  EXPECT_EQ(totals, (std::vector<int64_t>{f.TextureCount, f.SpriteCount, f.UnknownCount, f.TextureBytes,
                                          f.SpriteBytes, f.UnknownBytes}));
}

class LoaderTest : public ::testing::Test {
 protected:
  RWlFile Load(const PageFileLayout& layout) { return LoadBytes(BuildPageFile(layout)); }
  RWlFile LoadBytes(const std::vector<uint8_t>& bytes) {
    SCOPED_TRACE("LoadBytes");
    RWlFile f = LoadedFrom(bytes);
    ExpectConsistent(f);
    return f;
  }
  TempDir dir_;
};

TEST_F(LoaderTest, CopiesEveryChunkAndCountsTheSections) {
  PageFileLayout layout;
  layout.FirstSprite = 7;  // the header's words change nothing
  layout.FirstSound = 0xFFFF;
  for (int i = 0; i < 663; ++i) {
    std::vector<uint8_t> bytes(static_cast<size_t>(i % 50));  // every 50th empty
    std::iota(bytes.begin(), bytes.end(), static_cast<uint8_t>(i));
    layout.Chunks.push_back({bytes, {}, {}});
  }
  const RWlFile f = Load(layout);
  ASSERT_EQ(f.Chunks.size(), 663u);
  EXPECT_EQ(f.FileSize, static_cast<int64_t>(BuildPageFile(layout).size()));
  for (size_t i = 0; i < f.Chunks.size(); ++i) {
    EXPECT_EQ(ChunkBytes(f, i), layout.Chunks[i].Bytes) << "chunk " << i;
    EXPECT_EQ(f.Chunks[i].Offset, i == 0 ? 6u + 6u * 663u : f.Chunks[i - 1].Offset + f.Chunks[i - 1].Size);
  }
  EXPECT_EQ(f.FileName, "vswap.wl6");
}

TEST_F(LoaderTest, ChunksBeyondTheEndKeepTheirSizeAndReadAsZeros) {
  PageFileLayout layout = ChunksOfSizes(2, 4);
  layout.Chunks[0].Offset = 1u << 30;  // wholly beyond the end
  layout.Chunks[0].Size = 1000;
  const std::vector<uint8_t> bytes = BuildPageFile(layout);
  layout.Chunks[1].Offset = static_cast<uint32_t>(bytes.size() - 2);  // half beyond
  const RWlFile f = Load(layout);
  EXPECT_EQ(ChunkBytes(f, 0), std::vector<uint8_t>(1000, 0));
  EXPECT_EQ(ChunkBytes(f, 1), (std::vector<uint8_t>{1, 1, 0, 0}));
  // In place, a chunk holds the bytes the file holds; its Size says how
  // many more read as 0.
  EXPECT_TRUE(f.Chunks[0].Data.StoredBytes().empty());
  EXPECT_EQ(
      std::vector<uint8_t>(f.Chunks[1].Data.StoredBytes().begin(), f.Chunks[1].Data.StoredBytes().end()),
      (std::vector<uint8_t>{1, 1}));
}

TEST_F(LoaderTest, OverlappingChunksEachSeeTheirOwnBytes) {
  PageFileLayout layout;
  std::vector<uint8_t> body(100);
  std::iota(body.begin(), body.end(), 0);
  layout.Chunks.push_back({body, {}, {}});
  const uint32_t start = 6 + 6 * 3;
  layout.Chunks.push_back({{}, start + 10, 20});
  layout.Chunks.push_back({{}, start + 5, 90});
  const RWlFile f = Load(layout);
  EXPECT_EQ(ChunkBytes(f, 1), std::vector<uint8_t>(body.begin() + 10, body.begin() + 30));
  EXPECT_EQ(ChunkBytes(f, 2), std::vector<uint8_t>(body.begin() + 5, body.begin() + 95));
}

TEST_F(LoaderTest, ATruncatedDirectoryReadsMissingFieldsAsZero) {
  PageFileLayout layout = ChunksOfSizes(4, 1);
  // Offsets complete, then the first length and one byte of the second.
  layout.TruncateAt = 6 + 16 + 3;
  const RWlFile f = Load(layout);
  ASSERT_EQ(f.Chunks.size(), 4u);
  // The second length's low byte is there, its high byte reads 0.
  EXPECT_EQ((std::vector<int>{f.Chunks[0].Size, f.Chunks[1].Size, f.Chunks[2].Size}),
            (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(f.Chunks[3].Offset, 6u + 24u + 3u);

  PageFileLayout header = ChunksOfSizes(65535, 0);
  header.TruncateAt = 6;
  const RWlFile h = Load(header);
  EXPECT_EQ(h.Chunks.size(), 65535u);
  EXPECT_EQ(h.Chunks[65534].Offset, 0u);
}

TEST_F(LoaderTest, ShortFilesGiveAnEmptyTable) {
  for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{5}}) {
    const RWlFile f = LoadBytes(bytes);
    EXPECT_TRUE(f.Chunks.empty());
    EXPECT_EQ(f.FileSize, static_cast<int64_t>(bytes.size()));
  }
}

TEST_F(LoaderTest, AHostileDirectoryCostsNoMoreThanTheFile) {
  // 65,535 chunks of 65,535 bytes all pointing at the same place: the table
  // claims 4 GiB, the buffer holds only the file's own bytes.
  PageFileLayout layout;
  layout.Chunks.assign(65535, {{}, 0, 65535});
  const RWlFile f = Load(layout);
  const std::vector<uint8_t> first = ChunkBytes(f, 0);
  EXPECT_EQ(first, ChunkBytes(f, 65534));
  EXPECT_EQ(first[0], 0xFF);
  EXPECT_EQ(first[1], 0xFF);
}

// A stream that says it holds a petabyte: a directory of three chunks, the
// first of 10 bytes, then zeros.
class PetabyteStream final : public Stream {
 public:
  int64_t Size() const override { return int64_t{1} << 50; }
  size_t Read(void* dst, size_t count) override {
    const uint8_t head[6 + 18] = {3, 0, 0, 0, 0, 0, 24, 0, 0, 0, 24, 0, 0, 0, 24, 0, 0, 0, 10};
    const auto at = static_cast<size_t>(position_);
    const size_t n = at < sizeof head ? std::min(count, sizeof head - at) : 0;
    std::memcpy(dst, head + at, n);
    std::memset(static_cast<uint8_t*>(dst) + n, 0, count - n);
    position_ += static_cast<int64_t>(count);
    return count;
  }
};

TEST(LoaderMemory, WithoutRoomForTheFileTheDirectoryIsReadAndTheChunksAreZeros) {
  // No page file is that large, nor would memory hold it: the directory is
  // read alone, and the chunks keep their sizes and read as zeros.
  PetabyteStream in;
  RWlFile f;
  LoadPageFile(f, in, "huge.wl6");
  ASSERT_EQ(f.Chunks.size(), 3u);
  EXPECT_EQ(f.Bytes.size(), 24u);
  EXPECT_EQ(std::tuple(f.Chunks[0].Size, f.Chunks[0].Offset, f.Chunks[0].Data.Stored),
            std::tuple(10u, 24u, 0u));
  EXPECT_EQ(ChunkBytes(f, 0), std::vector<uint8_t>(10, 0));
}

TEST_F(LoaderTest, ReloadingReplacesEverything) {
  RWlFile f = Load(ChunksOfSizes(700, 5));
  f.Chunks[3].Image = std::make_unique<Bitmap>();
  f.Chunks[3].Colors = 7;
  const std::string other = dir_.File("other.wl1");
  ASSERT_TRUE(WritePageFile(other, ChunksOfSizes(110, 9)));
  std::string error;
  EXPECT_TRUE(LoadPageFile(f, other, error)) << error;
  ExpectConsistent(f);
  EXPECT_EQ(f.FileName, other);
  EXPECT_EQ(ChunkBytes(f, 109), std::vector<uint8_t>(9, 109));
  EXPECT_EQ(f.Chunks.size(), 110u);
}

TEST(FreeWlFile, ReleasesTheTableAndKeepsTheStatistics) {
  RWlFile f;
  FreeWlFile(f);  // an empty table is fine
  f.FileName = "x";
  f.TextureCount = 3;
  f.Chunks.resize(3);
  f.Chunks[0].Image = std::make_unique<Bitmap>();
  FreeWlFile(f);
  EXPECT_EQ(std::tuple(f.Chunks.size(), f.TextureCount, f.FileName), std::tuple(0u, 3u, "x"));
}

class CountingObserver : public LoadObserver {
 public:
  void DirectoryRead(const RWlFile& file) override { tableAtDirectory = file.Chunks.size(); }
  void ChunkCounted(const RWlFile&, uint32_t index, SectionKind section, uint32_t number) override {
    seen.push_back({index, static_cast<uint32_t>(section), number});
  }
  size_t tableAtDirectory = 99;
  std::vector<std::array<uint32_t, 3>> seen;  // index, section, number
};

TEST_F(LoaderTest, TheObserverSeesEveryChunkNumberedWithinItsSectionAndAMissingFileEmptiesIt) {
  const std::string path = dir_.File("obs.wl6");
  ASSERT_TRUE(WritePageFile(path, ChunksOfSizes(663, 1)));
  CountingObserver o;
  RWlFile f;
  std::string error;
  EXPECT_TRUE(LoadPageFile(f, path, error, &o)) << error;
  EXPECT_EQ(o.tableAtDirectory, 663u);
  ASSERT_EQ(o.seen.size(), 663u);
  for (uint32_t i = 0; i < 663; ++i) {
    // Sections by index alone: 106 textures, 435 sprites, then the rest.
    const uint32_t first = i < 106 ? 0 : i < 541 ? 106 : 541;
    const SectionKind section = first == 0     ? SectionKind::Texture
                                : first == 106 ? SectionKind::Sprite
                                               : SectionKind::Unknown;
    EXPECT_EQ(o.seen[i], (std::array<uint32_t, 3>{i, static_cast<uint32_t>(section), i - first + 1}));
  }

  // A missing file empties the table, and the tree is rebuilt for it too.
  CountingObserver missing;
  EXPECT_FALSE(LoadPageFile(f, dir_.File("none.wl6"), error, &missing));
  EXPECT_FALSE(error.empty());
  ExpectConsistent(f);
  EXPECT_EQ(std::tuple(f.FileName, f.Chunks.size(), f.FileSize), std::tuple(dir_.File("none.wl6"), 0u, 0u));
  EXPECT_EQ(missing.tableAtDirectory, 0u);
}

}  // namespace
