// The line elements of the interface file, held compactly. A file may hold
// millions of lines, nearly all drawn with the attributes of the line before
// them: each line keeps its four coordinates and the number of its header
// words in a table that grows only when the header changes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>

// Line is the line record: its Header words and X1, Y1, X2, Y2.
template <class Line>
class TJwcLineRowsOf {
 public:
  using Header = decltype(Line::Header);

  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Line;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Line;

    const_iterator(const TJwcLineRowsOf* rows, size_t i) : rows_(rows), i_(i) {}
    Line operator*() const { return (*rows_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) { return const_iterator(rows_, i_++); }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }

   private:
    const TJwcLineRowsOf* rows_;
    size_t i_;
  };

  size_t size() const { return coords_.size(); }
  bool empty() const { return coords_.empty(); }
  // Rows are handed out as whole records, by value.
  Line operator[](size_t i) const {
    Line l;
    l.Header = headers_[headerOf_[i]];
    const std::array<double, 4>& c = coords_[i];
    l.X1 = c[0], l.Y1 = c[1], l.X2 = c[2], l.Y2 = c[3];
    return l;
  }
  Line back() const { return (*this)[size() - 1]; }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size()); }

  void push_back(const Line& l) {
    if (headers_.empty() || headers_.back() != l.Header) headers_.push_back(l.Header);
    headerOf_.push_back(static_cast<uint32_t>(headers_.size() - 1));
    coords_.push_back({l.X1, l.Y1, l.X2, l.Y2});
  }

 private:
  std::deque<Header> headers_;
  std::deque<uint32_t> headerOf_;
  std::deque<std::array<double, 4>> coords_;
};
