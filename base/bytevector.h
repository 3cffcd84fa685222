// A byte vector whose new elements are left unset when it grows, for
// buffers that are filled right after they are made: a 5 KB picture is then
// written once rather than zeroed first.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class T>
class DefaultInitAllocator : public std::allocator<T> {
 public:
  template <class U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };

  DefaultInitAllocator() = default;
  template <class U>
  explicit DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}

  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

using ByteVector = std::vector<uint8_t, DefaultInitAllocator<uint8_t>>;
