#pragma once
// One tile layer of a map: width columns of height cells, kept in one block
// column by column (the map file's order), so that a map costs its cells
// whatever its shape. layer[x][y] reads and writes a cell; a column is a
// view into the block.

#include <cstddef>
#include <cstdint>
#include <vector>

class TileLayer {
 public:
  // A column of cells: a view that stays valid until the layer is resized.
  template <typename Cell>
  class ColumnView {
   public:
    using value_type = int32_t;
    using iterator = Cell*;
    using const_iterator = const int32_t*;

    ColumnView() = default;
    ColumnView(Cell* cells, size_t count) : cells_(cells), count_(count) {}

    Cell& operator[](size_t y) const { return cells_[y]; }
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    Cell* data() const { return cells_; }
    Cell* begin() const { return cells_; }
    Cell* end() const { return cells_ + count_; }

    // A copy of the cells, for code that wants a list.
    operator std::vector<int32_t>() const { return std::vector<int32_t>(begin(), end()); }
    bool operator==(const std::vector<int32_t>& other) const {
      return std::vector<int32_t>(begin(), end()) == other;
    }

   private:
    Cell* cells_ = nullptr;
    size_t count_ = 0;
  };
  using Column = ColumnView<int32_t>;
  using ConstColumn = ColumnView<const int32_t>;

  // Walks the columns; the iterator holds the current view, so that
  // `for (auto& column : layer)` binds to it.
  template <typename Cell>
  class ColumnIterator {
   public:
    ColumnIterator(Cell* cells, size_t height, size_t x) : cells_(cells), x_(x), column_(cells + x * height, height) {}
    ColumnView<Cell>& operator*() { return column_; }
    ColumnIterator& operator++() {
      ++x_;
      column_ = ColumnView<Cell>(cells_ + x_ * column_.size(), column_.size());
      return *this;
    }
    bool operator!=(const ColumnIterator& other) const { return x_ != other.x_; }

   private:
    Cell* cells_;
    size_t x_;
    ColumnView<Cell> column_;
  };

  size_t size() const { return width_; }  // columns
  bool empty() const { return width_ == 0; }
  size_t Height() const { return height_; }

  Column operator[](size_t x) { return Column(cells_.data() + x * height_, height_); }
  ConstColumn operator[](size_t x) const { return ConstColumn(cells_.data() + x * height_, height_); }
  ColumnIterator<int32_t> begin() { return {cells_.data(), height_, 0}; }
  ColumnIterator<int32_t> end() { return {cells_.data(), height_, width_}; }
  ColumnIterator<const int32_t> begin() const { return {cells_.data(), height_, 0}; }
  ColumnIterator<const int32_t> end() const { return {cells_.data(), height_, width_}; }

  // All cells, column by column.
  int32_t* data() { return cells_.data(); }
  const int32_t* data() const { return cells_.data(); }

  // Makes the layer width x height; cells inside keptWidth x keptHeight keep
  // their values, the others become fill.
  void Resize(size_t width, size_t height, size_t keptWidth, size_t keptHeight, int32_t fill);
  void clear() {
    cells_.clear();
    width_ = height_ = 0;
  }

  bool operator==(const TileLayer&) const = default;

 private:
  size_t width_ = 0;
  size_t height_ = 0;
  std::vector<int32_t> cells_;
};
