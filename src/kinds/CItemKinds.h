#pragma once

#include <memory>

class CResourceHolder;
class CResourceItem;

// The default item of each group's kind: the prototypes a document's holder
// creates its items from.
std::unique_ptr<CResourceItem> createKindPrototype(int group);

// A holder whose groups read and write every item kind's own fields.
std::unique_ptr<CResourceHolder> createDocumentHolder();
