#include "engine/data/database/DatabaseTypeData.h"

#include <algorithm>
#include <cstddef>

namespace {

struct RowShape {
  int32_t integers = 0;
  int32_t strings = 0;
};

// The row widths the codes ask for; false when a slot lies outside them.
bool ShapeOf(const std::vector<int32_t>& codes, RowShape& shape) {
  shape = {};
  for (int32_t code : codes) {
    const int32_t kind = DatabaseTypeData::CodeKind(code);
    if (kind == DatabaseTypeData::kIntegerKind) ++shape.integers;
    if (kind == DatabaseTypeData::kStringKind) ++shape.strings;
  }
  return std::all_of(codes.begin(), codes.end(), [&shape](int32_t code) {
    const int32_t kind = DatabaseTypeData::CodeKind(code);
    const int32_t slot = DatabaseTypeData::CodeSlot(code);
    return (kind != DatabaseTypeData::kIntegerKind || slot < shape.integers) &&
           (kind != DatabaseTypeData::kStringKind || slot < shape.strings);
  });
}

// Copies each row into a table of another width, keeping the cells both share.
template <typename T>
std::vector<T> Reshape(std::vector<T>& cells, int32_t records, int32_t oldWidth, int32_t newWidth) {
  std::vector<T> reshaped(static_cast<size_t>(records) * static_cast<size_t>(newWidth));
  const int32_t kept = std::min(oldWidth, newWidth);
  for (size_t r = 0; r < static_cast<size_t>(records); ++r) {
    for (size_t c = 0; c < static_cast<size_t>(kept); ++c) {
      reshaped[r * static_cast<size_t>(newWidth) + c] = std::move(cells[r * static_cast<size_t>(oldWidth) + c]);
    }
  }
  return reshaped;
}

}  // namespace

bool DatabaseTypeData::SetItemCodes(std::vector<int32_t> codes) {
  RowShape shape;
  if (!ShapeOf(codes, shape)) return false;
  InvalidateVariableCells();
  integers_ = Reshape(integers_, recordCount_, integerCount_, shape.integers);
  strings_ = Reshape(strings_, recordCount_, stringCount_, shape.strings);
  integerCount_ = shape.integers;
  stringCount_ = shape.strings;
  itemCodes_ = std::move(codes);
  return true;
}

void DatabaseTypeData::ResizeRecords(int32_t n) {
  InvalidateVariableCells();
  recordCount_ = std::max(n, 0);
  integers_.resize(static_cast<size_t>(recordCount_) * static_cast<size_t>(integerCount_));
  strings_.resize(static_cast<size_t>(recordCount_) * static_cast<size_t>(stringCount_));
}

void DatabaseTypeData::ClearRecord(int32_t data) {
  std::fill_n(integers_.begin() + static_cast<std::ptrdiff_t>(Index(data, integerCount_, 0)), integerCount_, 0);
  for (int32_t s = 0; s < stringCount_; ++s) String(data, s).clear();
}

bool DatabaseTypeData::Read(ByteCursor& in, int64_t& valuelessLeft) {
  InvalidateVariableCells();
  int32_t head = 0;
  int32_t mode = nameMode;
  int32_t tag = formatTag;
  int32_t itemCount = 0;
  if (!in.ReadI32(head)) return false;
  if (head <= -2 && !in.ReadI32(mode)) return false;
  if (head < 0) {
    tag = head;
    if (!in.ReadI32(itemCount)) return false;
  } else {
    itemCount = head;
  }
  if (!in.CountFits(itemCount, 4)) return false;
  std::vector<int32_t> codes(static_cast<size_t>(itemCount));
  RowShape shape;
  if (!in.ReadI32Array(codes.data(), itemCount)) return false;
  if (!ShapeOf(codes, shape)) return in.Fail();

  int32_t records = 0;
  if (!in.ReadI32(records)) return false;
  const int64_t recordBytes = 4 * (int64_t{shape.integers} + shape.strings);
  const bool valueless = recordBytes == 0;
  if (valueless ? records < 0 || records > kMaxRecordsWithoutValues || records > valuelessLeft
                : !in.CountFits(records, recordBytes)) {
    return in.Fail();
  }
  // The integers are one block of the file; the strings grow as they are
  // read, so a block cut short has built only what it held.
  std::vector<int32_t> integers(static_cast<size_t>(records) * static_cast<size_t>(shape.integers));
  std::vector<std::string> strings;
  std::string text;
  for (size_t r = 0; !valueless && r < static_cast<size_t>(records); ++r) {
    if (shape.integers > 0 &&
        !in.ReadI32Array(integers.data() + r * static_cast<size_t>(shape.integers), shape.integers)) {
      return false;
    }
    for (int32_t s = 0; s < shape.strings; ++s) {
      if (!in.ReadString(text)) return false;
      strings.push_back(std::move(text));
    }
  }
  if (valueless) valuelessLeft -= records;

  formatTag = tag;
  nameMode = mode;
  itemCodes_ = std::move(codes);
  recordCount_ = records;
  integerCount_ = shape.integers;
  stringCount_ = shape.strings;
  integers_ = std::move(integers);
  strings_ = std::move(strings);
  return true;
}

bool DatabaseTypeData::Write(SaveBuffer& out) {
  formatTag = -2;
  bool ok = out.WriteI32(formatTag) && out.WriteI32(nameMode) && out.WriteI32(ItemCount()) &&
            out.WriteBytes(itemCodes_.data(), int64_t{ItemCount()} * 4) && out.WriteI32(recordCount_);
  for (int32_t r = 0; ok && r < recordCount_ && integerCount_ + stringCount_ > 0; ++r) {
    if (integerCount_ > 0) ok = out.WriteBytes(&Integer(r, 0), int64_t{integerCount_} * 4);
    for (int32_t s = 0; ok && s < stringCount_; ++s) ok = out.WriteString(String(r, s));
  }
  return ok;
}
