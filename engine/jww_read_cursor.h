// Field-by-field copying out of a fixed-size block that the reader has
// already taken from the ByteReader (one bounds check per block instead of
// one per field). Internal to the reader files.
#pragma once

#include <cstdint>
#include <cstring>

class FieldCursor {
 public:
  explicit FieldCursor(const uint8_t* p) : p_(p) {}

  template <typename T>
  T Get() {
    T v;
    std::memcpy(&v, p_, sizeof(T));
    p_ += sizeof(T);
    return v;
  }
  template <typename T>
  void Into(T& v) {
    v = Get<T>();
  }
  void Skip(size_t n) { p_ += n; }

 private:
  const uint8_t* p_;
};
