#pragma once
// A small doubly linked list of handles between two sentinel nodes, used by
// the sound module to keep its handles in creation order.

#include <cstdint>

struct HandleListNode {
  int32_t handle;
  void* data;
  HandleListNode* prev;
  HandleListNode* next;
};

int HandleListInit(HandleListNode* first, HandleListNode* last);
// Links node in directly behind first.
int HandleListAdd(HandleListNode* first, HandleListNode* node, int32_t handle, void* data);
int HandleListRemove(HandleListNode* node);
