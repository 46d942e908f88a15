#pragma once
// Reading a game variable by its numeric variable ID, for code below the
// event interpreter (page start conditions). The variable store plugs its
// reader in through SetVariableReadHandler.

#include <cstdint>

int32_t GetVariable(int32_t id);

using VariableReadHandler = int32_t (*)(int32_t id);

// Null restores the default, which knows only that an ID below 1000000 is
// the number itself; every other ID reads 0.
void SetVariableReadHandler(VariableReadHandler handler);
