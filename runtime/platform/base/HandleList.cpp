#include "runtime/platform/base/HandleList.h"

int HandleListInit(HandleListNode* first, HandleListNode* last) {
  *first = HandleListNode{-1, nullptr, nullptr, last};
  *last = HandleListNode{-1, nullptr, first, nullptr};
  return 0;
}

int HandleListAdd(HandleListNode* first, HandleListNode* node, int32_t handle, void* data) {
  node->handle = handle;
  node->data = data;
  node->prev = first;
  node->next = first->next;
  first->next->prev = node;
  first->next = node;
  return 0;
}

int HandleListRemove(HandleListNode* node) {
  node->prev->next = node->next;
  node->next->prev = node->prev;
  return 0;
}
