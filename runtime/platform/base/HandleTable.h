#pragma once
// The two kinds of handle table the layer keeps per handle type.
//
// PointerHandleTable: records allocated on creation. A new record takes the
// slot after the highest one in use until that reaches the capacity; then the
// first free slot.
//
// RecordArrayHandleTable: a fixed array of records with a used flag; a new
// record takes the first free one.
//
// Every record carries the check number its handle was made with.

#include <cstdint>
#include <new>
#include <vector>

#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/ResourceHandle.h"
#include "runtime/platform/base/TrackedAlloc.h"

struct HandleRecord {
  int32_t checkNumber = 0;
};

template <class Record>
class PointerHandleTable {
 public:
  // fullMessage and allocFailMessage are logged when creation fails.
  PointerHandleTable(int32_t type, int32_t capacity, const char* fullMessage,
                     const char* allocFailMessage)
      : type_(type), capacity_(capacity), fullMessage_(fullMessage),
        allocFailMessage_(allocFailMessage), slots_(static_cast<size_t>(capacity), nullptr) {}
  PointerHandleTable(const PointerHandleTable&) = delete;
  PointerHandleTable& operator=(const PointerHandleTable&) = delete;
  ~PointerHandleTable() { DeleteAll(); }

  // A new handle, or -1. reuse: a handle whose slot is free, made again with
  // its own slot and check number.
  int32_t Create(Record** created = nullptr, int32_t reuse = kNoHandle) {
    int32_t slot;
    int32_t check;
    if (reuse == kNoHandle) {
      if (liveCount_ >= capacity_) return LogWrite(fullMessage_);
      slot = usedEnd_;
      if (usedEnd_ >= capacity_) {
        slot = 0;
        while (slots_[static_cast<size_t>(slot)]) ++slot;
      }
      check = nextCheck_;
    } else {
      if (!HandleShapeMatches(reuse, type_, capacity_) || slots_[static_cast<size_t>(HandleSlot(reuse))]) {
        return kNoHandle;
      }
      slot = HandleSlot(reuse);
      check = HandleCheckBits(reuse) >> 16;
    }
    void* memory = TrackedAllocZero(sizeof(Record));
    if (!memory) return LogWrite(allocFailMessage_);
    Record* record = new (memory) Record();
    record->checkNumber = check;
    if (reuse == kNoHandle) nextCheck_ = NextHandleCheck(nextCheck_);
    slots_[static_cast<size_t>(slot)] = record;
    ++liveCount_;
    if (slot >= usedEnd_) usedEnd_ = slot + 1;
    if (created) *created = record;
    return MakeResourceHandle(slot, check, type_);
  }

  // The live record behind a handle, or null for a stale, foreign or bad handle.
  Record* Find(int32_t handle) const {
    if (!HandleShapeMatches(handle, type_, capacity_)) return nullptr;
    Record* record = slots_[static_cast<size_t>(HandleSlot(handle))];
    if (!record || record->checkNumber << 16 != HandleCheckBits(handle)) return nullptr;
    return record;
  }

  // 0, or -1 for a handle that does not pass validation.
  int Delete(int32_t handle) {
    Record* record = Find(handle);
    if (!record) return -1;
    const int32_t slot = HandleSlot(handle);
    record->~Record();
    TrackedFree(record);
    slots_[static_cast<size_t>(slot)] = nullptr;
    --liveCount_;
    if (slot == usedEnd_ - 1) {
      while (usedEnd_ > 0 && !slots_[static_cast<size_t>(usedEnd_ - 1)]) --usedEnd_;
    }
    return 0;
  }

  void DeleteAll() {
    for (int32_t slot = 0; slot < usedEnd_; ++slot) {
      if (Record* record = slots_[static_cast<size_t>(slot)]) {
        record->~Record();
        TrackedFree(record);
        slots_[static_cast<size_t>(slot)] = nullptr;
      }
    }
    liveCount_ = 0;
    usedEnd_ = 0;
  }

  // Calls f(handle, record) for every live record, lowest slot first.
  template <class F>
  void ForEach(F f) const {
    for (int32_t slot = 0; slot < usedEnd_; ++slot) {
      if (Record* record = slots_[static_cast<size_t>(slot)]) {
        f(MakeResourceHandle(slot, record->checkNumber, type_), record);
      }
    }
  }

  int32_t Type() const { return type_; }
  int32_t Capacity() const { return capacity_; }
  int32_t LiveCount() const { return liveCount_; }
  int32_t UsedEnd() const { return usedEnd_; }
  int32_t NextCheck() const { return nextCheck_; }

 private:
  int32_t type_;
  int32_t capacity_;
  const char* fullMessage_;
  const char* allocFailMessage_;
  std::vector<Record*> slots_;
  int32_t liveCount_ = 0;
  int32_t usedEnd_ = 0;
  int32_t nextCheck_ = 0;
};

// Records of a RecordArrayHandleTable also carry a used flag.
struct ArrayHandleRecord : HandleRecord {
  int32_t used = 0;
};

template <class Record, int32_t Capacity>
class RecordArrayHandleTable {
 public:
  explicit RecordArrayHandleTable(int32_t type) : type_(type) {}

  // A new handle, or -1 when every record is in use. The record is reset to
  // its initial state and marked used.
  int32_t Create(Record** created = nullptr) {
    for (int32_t slot = 0; slot < Capacity; ++slot) {
      Record& record = records_[slot];
      if (record.used) continue;
      record = Record();
      record.used = 1;
      record.checkNumber = nextCheck_;
      nextCheck_ = NextHandleCheck(nextCheck_);
      if (created) *created = &record;
      return MakeResourceHandle(slot, record.checkNumber, type_);
    }
    return kNoHandle;
  }

  Record* Find(int32_t handle) {
    if (!HandleShapeMatches(handle, type_, Capacity)) return nullptr;
    Record& record = records_[HandleSlot(handle)];
    if (!record.used || record.checkNumber << 16 != HandleCheckBits(handle)) return nullptr;
    return &record;
  }

  int Delete(int32_t handle) {
    Record* record = Find(handle);
    if (!record) return -1;
    record->used = 0;
    return 0;
  }

  template <class F>
  void ForEach(F f) {
    for (int32_t slot = 0; slot < Capacity; ++slot) {
      if (records_[slot].used) f(MakeResourceHandle(slot, records_[slot].checkNumber, type_), &records_[slot]);
    }
  }

  Record& At(int32_t slot) { return records_[slot]; }

 private:
  int32_t type_;
  int32_t nextCheck_ = 0;
  Record records_[Capacity];
};
