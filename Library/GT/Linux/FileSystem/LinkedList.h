#pragma once

// The singly linked list of the file-manager routines (pending folders of a
// folder copy, open forks of a drop-folder copy), with the records it holds and
// the parameters one object copy shares.

#include "GT/Linux/FileSystem/FileManagerTypes.h"

#include <cstdint>
#include <string>

// Every item of a list is one of these, so that a disposal procedure can free
// it without knowing its kind.
struct ListItem {
  virtual ~ListItem() = default;
};

typedef void (*DisposeDataProcPtr)(void* data);

struct ListNode {
  ListNode* next;
  void* data;
};

struct LinkedList {
  ListNode* head = nullptr;
  ListNode* tail = nullptr;
  ItemCount count = 0;
  DisposeDataProcPtr disposeProc = nullptr;
};

// An empty list whose items the procedure disposes of; -50 for a null list.
OSErr InitLinkedList(LinkedList* list, DisposeDataProcPtr disposeProc);
// 0 for a null list.
ItemCount GetNumberOfItems(LinkedList const* list);
// -50 for a null list or data, -108 when no node can be made.
OSErr AddToTail(LinkedList* list, void* data);
// The iterator starts at the head (null for an empty or null list); Next moves
// it on, GetData reads its item (null past the end).
void InitIterator(LinkedList const* list, ListNode** iterator);
void Next(ListNode** iterator);
void* GetData(ListNode const* iterator);
// Moves every node of source into target right after `after` (at the head
// when it is null); source is left empty. Nothing happens when source is
// empty or the lists dispose of their items differently.
void InsertList(LinkedList* target, LinkedList* source, ListNode* after);
// Disposes of every item, frees the nodes and leaves the list empty.
void DestroyList(LinkedList* list);

// Disposal procedures: one frees the item, the other first closes the fork
// record's open destination fork.
void MyDisposeDataProc(void* data);
void MyCloseForkProc(void* data);

// A folder still to be copied: the source folder, its new copy and its depth
// (0 for the top folder).
struct FolderListData : ListItem {
  FolderListData(FSRef const& source, FSRef const& dest, uint32_t level)
      : sourceDirRef(source), destDirRef(dest), level(level) {}
  FSRef sourceDirRef;
  FSRef destDirRef;
  uint32_t level;
};

// A fork of a drop-folder copy: its name, size and open destination (-1 when not open).
struct ForkTrackerData : ListItem {
  std::string forkName;
  int64_t forkSize = 0;
  int forkDestRefNum = -1;
};

// What one object copy shares among its items.
struct ForkCopyParams {
  void* copyBuffer = nullptr;
  uint32_t copyBufferSize = 0;
  bool copyingToDropFolder = false;
  bool copyingToLocalVolume = true;
  bool volumeHasServerCopy = false;  // one server holds both and copies files itself
};
