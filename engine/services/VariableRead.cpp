#include "engine/services/VariableRead.h"

namespace {

int32_t PlainNumbersOnly(int32_t id) { return id < 1000000 ? id : 0; }

VariableReadHandler gHandler = PlainNumbersOnly;

}  // namespace

int32_t GetVariable(int32_t id) { return gHandler(id); }

void SetVariableReadHandler(VariableReadHandler handler) { gHandler = handler ? handler : PlainNumbersOnly; }
