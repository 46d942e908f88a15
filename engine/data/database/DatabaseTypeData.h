#pragma once
// The data part of one database type: its item codes and one record per data
// number. A code is kind x 1000 + slot: kind 1 an integer item (slot indexes
// the record's integers), kind 2 a string item (slot indexes its strings),
// any other kind holds no value.
//
// The records are the rows of two tables: every record holds as many integers
// as the type has kind-1 codes and as many strings as kind-2 codes, and every
// code's slot lies inside its row. Both hold at all times (a file that breaks
// them is damaged), so reading a cell is one index computation with nothing
// to allocate, copy or test beyond the numbers the caller gives.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/data/CellEpoch.h"
#include "engine/data/file/ByteCursor.h"
#include "engine/data/file/SaveBuffer.h"

class DatabaseTypeData {
 public:
  static constexpr int32_t kIntegerKind = 1;
  static constexpr int32_t kStringKind = 2;
  // A type whose records carry no values takes no bytes per record in a
  // file; its record count is held within this bound instead, and all such
  // records of one file (or save section) within the second, so that what
  // walks the records later is bounded too.
  static constexpr int32_t kMaxRecordsWithoutValues = 1000000;
  static constexpr int64_t kMaxRecordsWithoutValuesPerFile = 2 * int64_t{kMaxRecordsWithoutValues};

  static int32_t CodeKind(int32_t code) { return code / 1000; }
  static int32_t CodeSlot(int32_t code) { return code % 1000; }

  int32_t formatTag = -2;  // the negative head of the type's last block
  int32_t nameMode = 0;    // how the database names the type's records

  // One string item in slot 0 and one record with an empty string.
  DatabaseTypeData() = default;

  const std::vector<int32_t>& ItemCodes() const { return itemCodes_; }
  int32_t ItemCount() const { return static_cast<int32_t>(itemCodes_.size()); }
  int32_t RecordCount() const { return recordCount_; }
  int32_t IntegerCount() const { return integerCount_; }  // per record
  int32_t StringCount() const { return stringCount_; }    // per record

  // Replaces the item codes and reshapes every record to the new counts
  // (cells kept by slot where the slot still exists, new cells 0 or empty).
  // False, changing nothing, when a code's slot would lie outside its row.
  bool SetItemCodes(std::vector<int32_t> codes);
  // Keeps the first n records or appends records of 0 and empty cells.
  void ResizeRecords(int32_t n);

  // The cells, unchecked: data and slot must lie inside the tables.
  int32_t& Integer(int32_t data, int32_t slot) { return integers_[Index(data, integerCount_, slot)]; }
  int32_t Integer(int32_t data, int32_t slot) const { return integers_[Index(data, integerCount_, slot)]; }
  std::string& String(int32_t data, int32_t slot) { return strings_[Index(data, stringCount_, slot)]; }
  const std::string& String(int32_t data, int32_t slot) const { return strings_[Index(data, stringCount_, slot)]; }

  // Sets every cell of a record to 0 or empty.
  void ClearRecord(int32_t data);

  // Reads one type-data block: int32 head v (v <= -2: the name mode
  // follows; v < 0: the format tag becomes v and the item count follows;
  // v >= 0: v is the item count), the item codes, the record count and the
  // records (integers, then strings). Records without values are taken from
  // valuelessLeft, the rest of the file's allowance. False, with the
  // cursor's overrun flag set and the type unchanged, when the block is
  // damaged or passes either bound.
  bool Read(ByteCursor& in, int64_t& valuelessLeft);
  // Writes the block with head -2 (the format tag becomes -2). False when
  // the save buffer is full.
  bool Write(SaveBuffer& out);

  // Head and record count.
  static constexpr int64_t kSmallestBlockBytes = 4 + 4;

  bool operator==(const DatabaseTypeData&) const = default;

 private:
  static size_t Index(int32_t data, int32_t width, int32_t slot) {
    return static_cast<size_t>(data) * static_cast<size_t>(width) + static_cast<size_t>(slot);
  }

  std::vector<int32_t> itemCodes_{kStringKind * 1000};
  int32_t recordCount_ = 1;
  int32_t integerCount_ = 0;
  int32_t stringCount_ = 1;
  std::vector<int32_t> integers_;
  std::vector<std::string> strings_{std::string()};
  CellEpochMark epochMark_;  // prepared commands re-resolve cells after any change of shape
};
