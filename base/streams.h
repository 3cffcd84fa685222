// Byte streams: a growable memory stream and the file stream the loader
// reads through; and a read-only view over shared bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/bytevector.h"

enum class SeekOrigin { Begin, Current, End };

// A positioned byte source. The position may lie beyond the end, where reads
// yield nothing; a seek before the start stops at 0.
class Stream {
 public:
  Stream() = default;
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  virtual ~Stream() = default;

  virtual int64_t Size() const = 0;
  // Copies at most the bytes between the position and the end, advances the
  // position by the number copied and returns it.
  virtual size_t Read(void* dst, size_t count) = 0;

  int64_t Seek(int64_t offset, SeekOrigin origin);
  int64_t Position() const { return position_; }

 protected:
  int64_t position_ = 0;
};

// A growable in-memory stream. Writing past the end extends it; a gap between
// the old end and the write position reads as zeros.
class MemoryStream final : public Stream {
 public:
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
  size_t Read(void* dst, size_t count) override;
  size_t Write(const void* src, size_t count);
  // Makes the stream `count` bytes longer at its end, moves the position to
  // the new end and returns the new bytes for the caller to fill: a writer
  // that builds its output in place needs no buffer of its own. The bytes
  // hold no set values until the caller writes them.
  uint8_t* Append(size_t count);
  // Gives the bytes away, leaving the stream empty at position 0.
  ByteVector TakeBytes();

  const ByteVector& Bytes() const { return bytes_; }

 private:
  ByteVector bytes_;
};

// `Size` read-only bytes of which the first `Stored` lie in a buffer that
// someone else owns; the rest read as zeros. Many views can share one
// buffer, so a table of chunks costs no more memory than the bytes the file
// holds.
struct ByteView {
  const uint8_t* Bytes = nullptr;  // not owned
  // 32 bits, so that a table of 65,535 views stays small enough to walk
  // quickly; no view of the program's reaches 4 GiB.
  uint32_t Stored = 0;
  uint32_t Size = 0;

  std::span<const uint8_t> StoredBytes() const { return {Bytes, Stored}; }
};

// A file opened for reading that others may read too (never written). The
// path is UTF-8. Only a regular file opens: a folder, a pipe or a device is
// refused by its type before anything is read from it, and opening a pipe
// never waits for a writer.
class FileStream final : public Stream {
 public:
  explicit FileStream(const std::string& path);
  ~FileStream() override;

  bool IsOpen() const;
  int64_t Size() const override { return size_; }
  size_t Read(void* dst, size_t count) override;
  // Why the file did not open, or why a read came up short: the system's
  // reason, or what the path names instead of a file. Empty otherwise.
  const std::string& Problem() const { return problem_; }

 private:
  intptr_t handle_;
  int64_t size_ = 0;
  std::string problem_;
};
