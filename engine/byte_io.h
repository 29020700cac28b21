// Bounds-checked little-endian reading from a file image in memory, and
// appending to an output buffer. A read past the end throws JwwReadError,
// which the reader catches at its surface; nothing throws out of the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

struct JwwReadError : std::runtime_error {
  size_t offset;
  JwwReadError(const char* what, size_t at) : std::runtime_error(what), offset(at) {}
};

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Offset() const { return pos_; }
  size_t Remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ == size_; }

  // Fails unless n more bytes are there; call before allocating for a count.
  void Require(size_t n) const {
    if (n > size_ - pos_) throw JwwReadError("unexpected end of data", pos_);
  }
  const uint8_t* Take(size_t n) {
    Require(n);
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  void Skip(size_t n) { Take(n); }

  uint8_t U8() { return *Take(1); }
  uint16_t U16() { return Load<uint16_t>(); }
  uint32_t U32() { return Load<uint32_t>(); }
  int32_t I32() { return Load<int32_t>(); }
  double F64() { return Load<double>(); }

 private:
  template <typename T>
  T Load() {
    const uint8_t* p = Take(sizeof(T));
    T v;
    std::memcpy(&v, p, sizeof(T));  // the build targets little-endian hosts
    return v;
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

class ByteWriter {
 public:
  std::vector<uint8_t>& Buffer() { return buf_; }
  const std::vector<uint8_t>& Buffer() const { return buf_; }
  size_t Size() const { return buf_.size(); }

  void Bytes(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    buf_.insert(buf_.end(), b, b + n);
  }
  void Zeros(size_t n) { buf_.insert(buf_.end(), n, 0); }
  void U8(uint8_t v) { buf_.push_back(v); }
  void U16(uint16_t v) { Store(v); }
  void U32(uint32_t v) { Store(v); }
  void I32(int32_t v) { Store(v); }
  void F64(double v) { Store(v); }

 private:
  template <typename T>
  void Store(T v) {
    const size_t at = buf_.size();
    buf_.resize(at + sizeof(T));
    std::memcpy(buf_.data() + at, &v, sizeof(T));
  }

  std::vector<uint8_t> buf_;
};

static_assert(sizeof(double) == 8, "IEEE 754 doubles expected");
