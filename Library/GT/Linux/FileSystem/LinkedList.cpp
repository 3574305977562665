#include "GT/Linux/FileSystem/LinkedList.h"

#include <new>
#include <unistd.h>

OSErr InitLinkedList(LinkedList* list, DisposeDataProcPtr disposeProc) {
  if (!list) return GT::nFsParameterError;
  *list = LinkedList();
  list->disposeProc = disposeProc;
  return GT::nFsNoErr;
}

ItemCount GetNumberOfItems(LinkedList const* list) { return list ? list->count : 0; }

OSErr AddToTail(LinkedList* list, void* data) {
  if (!list || !data) return GT::nFsParameterError;
  ListNode* const node = new (std::nothrow) ListNode{nullptr, data};
  if (!node) return GT::nFsOutOfMemory;
  if (list->tail)
    list->tail->next = node;
  else
    list->head = node;
  list->tail = node;
  ++list->count;
  return GT::nFsNoErr;
}

void InitIterator(LinkedList const* list, ListNode** iterator) {
  if (iterator) *iterator = list ? list->head : nullptr;
}

void Next(ListNode** iterator) {
  if (iterator && *iterator) *iterator = (*iterator)->next;
}

void* GetData(ListNode const* iterator) { return iterator ? iterator->data : nullptr; }

void InsertList(LinkedList* target, LinkedList* source, ListNode* after) {
  if (!target || !source || target == source || !source->head ||
      target->disposeProc != source->disposeProc)
    return;
  if (!after) {
    source->tail->next = target->head;
    target->head = source->head;
    if (!target->tail) target->tail = source->tail;
  } else {
    source->tail->next = after->next;
    after->next = source->head;
    if (target->tail == after) target->tail = source->tail;
  }
  target->count += source->count;
  source->head = source->tail = nullptr;
  source->count = 0;
}

void DestroyList(LinkedList* list) {
  if (!list) return;
  for (ListNode* node = list->head; node;) {
    ListNode* const next = node->next;
    if (list->disposeProc) list->disposeProc(node->data);
    delete node;
    node = next;
  }
  list->head = list->tail = nullptr;
  list->count = 0;
}

void MyDisposeDataProc(void* data) { delete static_cast<ListItem*>(data); }

void MyCloseForkProc(void* data) {
  ForkTrackerData* const fork = dynamic_cast<ForkTrackerData*>(static_cast<ListItem*>(data));
  if (fork && fork->forkDestRefNum >= 0) ::close(fork->forkDestRefNum);
  delete static_cast<ListItem*>(data);
}
