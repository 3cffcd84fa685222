#include "imaging/spriteencoder.h"

#include "base/bytes.h"

namespace {

struct Run {
  int Column;  // counted from the first opaque column
  int Start;
  int End;  // one past the last row
};

}  // namespace

std::vector<uint8_t> EncodeTextureChunk(const FramedPicture& picture) {
  return {picture.Index.begin(), picture.Index.end()};
}

std::vector<uint8_t> EncodeSpriteChunk(const FramedPicture& picture) {
  int first = -1;
  int last = -1;
  std::vector<Run> runs;
  size_t poolSize = 0;
  for (int x = 0; x < FrameSide; ++x) {
    const uint8_t* opaque = picture.Opaque.data() + x * FrameSide;
    for (int y = 0; y < FrameSide;) {
      if (!opaque[y]) {
        ++y;
        continue;
      }
      if (first < 0) first = x;
      last = x;
      const int start = y;
      while (y < FrameSide && opaque[y]) ++y;
      runs.push_back({x, start, y});
      poolSize += static_cast<size_t>(y - start);
    }
  }
  if (first < 0) first = last = BlankSpriteColumn;
  for (Run& r : runs) r.Column -= first;

  // At most 64 columns of 32 runs each: every position fits the 16-bit words.
  const size_t columns = static_cast<size_t>(last - first + 1);
  const size_t poolAt = 4 + 2 * columns;
  const size_t listsAt = poolAt + poolSize + (poolSize & 1);
  std::vector<uint8_t> out(listsAt + 6 * runs.size() + 2 * columns, 0);
  WriteLe16(out.data(), static_cast<uint16_t>(first));
  WriteLe16(out.data() + 2, static_cast<uint16_t>(last));

  size_t pool = poolAt;
  size_t list = listsAt;
  auto run = runs.begin();
  for (size_t c = 0; c < columns; ++c) {
    WriteLe16(out.data() + 4 + 2 * c, static_cast<uint16_t>(list));
    const uint8_t* index = picture.Index.data() + (static_cast<size_t>(first) + c) * FrameSide;
    for (; run != runs.end() && run->Column == static_cast<int>(c); ++run) {
      WriteLe16(out.data() + list, static_cast<uint16_t>(run->End * 2));
      WriteLe16(out.data() + list + 2, static_cast<uint16_t>(pool - static_cast<size_t>(run->Start)));
      WriteLe16(out.data() + list + 4, static_cast<uint16_t>(run->Start * 2));
      list += 6;
      for (int y = run->Start; y < run->End; ++y) out[pool++] = index[y];
    }
    list += 2;  // the 0 word that ends the column's list
  }
  return out;
}
