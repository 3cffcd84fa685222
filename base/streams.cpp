#include "base/streams.h"

#include <algorithm>
#include <cstring>
#include <utility>

int64_t Stream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t base = 0;
  switch (origin) {
    case SeekOrigin::Begin:
      base = 0;
      break;
    case SeekOrigin::Current:
      base = position_;
      break;
    case SeekOrigin::End:
      base = Size();
      break;
  }
  // Both terms stay far below 2^62 here, so the sum cannot overflow.
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

size_t MemoryStream::Read(void* dst, size_t count) {
  if (count == 0 || position_ >= Size()) return 0;
  const size_t n = std::min(count, static_cast<size_t>(Size() - position_));
  std::memcpy(dst, bytes_.data() + position_, n);
  position_ += static_cast<int64_t>(n);
  return n;
}

size_t MemoryStream::Write(const void* src, size_t count) {
  if (count == 0) return 0;
  const size_t at = static_cast<size_t>(position_);
  const size_t end = bytes_.size();
  if (end < at + count) bytes_.resize(at + count);
  if (end < at) std::memset(bytes_.data() + end, 0, at - end);  // the gap reads as zeros
  std::memcpy(bytes_.data() + at, src, count);
  position_ += static_cast<int64_t>(count);
  return count;
}

uint8_t* MemoryStream::Append(size_t count) {
  const size_t at = bytes_.size();
  bytes_.resize(at + count);
  position_ = static_cast<int64_t>(bytes_.size());
  return bytes_.data() + at;
}

ByteVector MemoryStream::TakeBytes() {
  ByteVector bytes = std::move(bytes_);
  bytes_.clear();
  position_ = 0;
  return bytes;
}
