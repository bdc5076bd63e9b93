#pragma once
// Three-way merge of Marshal trees: an entry as stored (old), what a writer makes
// of its import (base) and what the writer makes of the edited project (edited).
// Parts the edit left alone keep their stored form; parts the writer does not
// know stay as stored; the rest comes from the edit.

#include "interchange/MarshalTree.h"

#include <map>
#include <string>
#include <vector>

namespace MKRUBY {

/** The merged value: old where edited equals base; for objects of one class an
 *  ivar-by-ivar merge in old's order (ivars only in old kept, new ones appended,
 *  ones the edit dropped removed); for arrays an element-wise merge over the
 *  common length, then edited's further elements; edited otherwise. New nodes
 *  come from pool; the result shares nodes with the three inputs. */
const strMarshalNode* MergeMarshal(const strMarshalNode& old, const strMarshalNode& base, const strMarshalNode& edited,
                                   cMarshalPool& pool);

/** A copy of the object with the ivar (or struct member) set to the value,
 *  appended when missing; the object itself when it already has that value. */
const strMarshalNode* WithPair(const strMarshalNode& object, const strMarshalNode& name, const strMarshalNode& value,
                               cMarshalPool& pool);

/** Class name -> instance-variable names in the order objects of the class first
 *  set them: the order in which Ruby dumps every object of a class it loaded. */
using MarshalShapes = std::map<std::string, std::vector<std::string>>;

/** Adds the shapes of the objects in the tree (links not followed). */
void CollectShapes(const strMarshalNode& root, MarshalShapes& shapes);

/** The tree with each object's ivars in its class's shape order (ivars the shape
 *  lacks after, in their order). Trees without links only. */
const strMarshalNode* Reshape(const strMarshalNode& node, const MarshalShapes& shapes, cMarshalPool& pool);

} // namespace MKRUBY
