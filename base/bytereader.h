// A cursor over bytes that cannot read past their end. A read that runs past
// it yields 0 for the bytes that are not there, so a reader of outside data
// need not check before every field. The position may lie beyond the end.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t Size() const { return bytes_.size(); }
  size_t Position() const { return at_; }
  // Bytes between the position and the end; 0 beyond the end.
  size_t Remaining() const { return at_ < bytes_.size() ? bytes_.size() - at_ : 0; }

  void Seek(size_t at) { at_ = at; }
  void Skip(size_t count) { at_ = count <= SIZE_MAX - at_ ? at_ + count : SIZE_MAX; }

  // The common case, whole fields inside the bytes, takes one comparison.
  uint8_t U8() {
    if (Remaining() < 1) return static_cast<uint8_t>(Next(1));
    return bytes_[at_++];
  }
  uint16_t Le16() {
    if (Remaining() < 2) return static_cast<uint16_t>(Next(2));
    const auto value = static_cast<uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
    at_ += 2;
    return value;
  }
  uint32_t Le32() {
    if (Remaining() < 4) return Next(4);
    const uint32_t value = uint32_t{bytes_[at_]} | uint32_t{bytes_[at_ + 1]} << 8 |
                           uint32_t{bytes_[at_ + 2]} << 16 | uint32_t{bytes_[at_ + 3]} << 24;
    at_ += 4;
    return value;
  }

  // The little-endian word at `at`, 0 where the bytes end; the position stays.
  uint16_t Le16At(size_t at) const {
    if (at < bytes_.size() && bytes_.size() - at >= 2)
      return static_cast<uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    return at < bytes_.size() ? bytes_[at] : 0;
  }

  // Up to `count` bytes from `at`: fewer, or none, where the bytes end.
  std::span<const uint8_t> Span(size_t at, size_t count) const {
    if (at >= bytes_.size()) return {};
    return bytes_.subspan(at, std::min(count, bytes_.size() - at));
  }

  // Copies the next `count` bytes to `to`, 0 for those past the end, and
  // moves past them.
  void Read(uint8_t* to, size_t count) {
    const std::span<const uint8_t> held = Span(at_, count);
    std::copy(held.begin(), held.end(), to);
    std::fill(to + held.size(), to + count, uint8_t{0});
    Skip(count);
  }

 private:
  // `n` bytes (at most 4) as a little-endian number.
  uint32_t Next(size_t n) {
    uint32_t value = 0;
    const std::span<const uint8_t> held = Span(at_, n);
    for (size_t i = 0; i < held.size(); ++i) value |= uint32_t{held[i]} << (8 * i);
    Skip(n);
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};
