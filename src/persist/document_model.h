// SPDX-License-Identifier: MIT
// The store document's tree. Every element is of one kind; the kind fixes its attributes and
// its content: text, nothing (a reference), or a sequence of child elements. The content of
// each kind is a table of particles, the store schema's content model particle by particle,
// together with what the builder does with each child; the functions below match children
// against those tables.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class iConfigStoreItem;

namespace zav::persist {

class tStoreBuilder;
struct tOpenItem;

enum class tElementKind : uint8_t {
  kText, kReference,  // leaves: text, and an empty element that names an item by its id
  kStore,
  kPublishedAPIs, kPublishedAPI,
  kSoftwareModules, kSoftwareModule, kPublishedAPIReferences,
  kHardwareAssets, kHardwareAsset,
  kDriverSessions, kDriverSession,
  kSessions, kSession,
  kLogicalNames, kLogicalName,
  kPhysicalNames, kPhysicalName, kPhysicalRanges, kPhysicalRange,
  kVirtualNames, kVirtualName, kVirtualRanges, kVirtualRange,
  kDataComponents, kAPIReference, kBoolean, kInteger, kReal, kString, kStructure,
  kCount
};

// Gives the text of a text child, or the idref of a reference child, to the item of the
// element it belongs to (`owner`).
using tSetter = void (*)(tStoreBuilder& builder, tOpenItem& owner, std::string& text);
// Hands a finished item to its collection, which belongs to `owner` (the item or store holding
// the list); returns the item as the collection holds it.
using tAdder = iConfigStoreItem* (*)(tStoreBuilder& builder, tOpenItem& owner,
                                     std::unique_ptr<iConfigStoreItem>& item);
// A new item of an item element's kind, owned by `item` until its collection takes it.
using tMaker = iConfigStoreItem* (*)(std::unique_ptr<iConfigStoreItem>& item);
// What an item is given once its content has been read.
using tFinisher = void (*)(tOpenItem& item);

// One child element a content model allows.
struct tParticle {
  const char* name;
  tElementKind kind;
  tSetter set = nullptr;  // text and reference children; none when the document's value is dropped
  tAdder add = nullptr;   // lists of items: where their items go
  bool optional = false;
  bool many = false;            // may repeat
  bool choiceWithNext = false;  // one choice group with the particle after it
  bool needsPrevious = false;   // only after the particle before it (an optional sequence)
};

// What a kind of element holds, and for an item element what the builder makes of it.
struct tElement {
  tElementKind kind;  // the element's own place in the table, checked when it is compiled
  const tParticle* particles = nullptr;
  uint8_t count = 0;
  tMaker make = nullptr;  // item elements only
  tFinisher finish = nullptr;
  bool joinsFirst = false;  // the item joins its collection before its content is read
};

const tElement& ElementOf(tElementKind kind);
inline bool IsItem(tElementKind kind) { return ElementOf(kind).make != nullptr; }

// The document's root element.
const tParticle& DocumentRoot();

// Where a parent's content stands: the particle group its next child is matched against, and
// how often that group has been taken.
struct tContentPosition {
  uint8_t group = 0;
  uint32_t taken = 0;
};

// The particle of `kind`'s content that takes the child `name` (in namespace `uri`, null for
// none) at `at`, which moves past it; null when no particle may take it there, `at` unchanged.
const tParticle* MatchChild(tElementKind kind, tContentPosition& at, const char* name, const char* uri);
// Whether `kind`'s content may end at `at`.
bool ContentComplete(tElementKind kind, const tContentPosition& at);
// The names that may come next, as libxml2 words it: " Expected is ( A )." or
// " Expected is one of ( A, B )."; empty when nothing may.
std::string ExpectedChildren(tElementKind kind, const tContentPosition& at);

}  // namespace zav::persist
