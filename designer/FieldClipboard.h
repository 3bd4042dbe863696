#pragma once
// Fields travel between pages, documents and running copies of the program
// as the record of one group holding them, in the same record format as a
// group of section "form". The block has no header, length or checksum of
// its own: its size is the record's size.

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <span>

class AbstractFormObject;
class GlobalTextStorage;

// The private clipboard format; both running copies of the program use it.
inline constexpr char FieldsMimeType[] = "application/x-quillfen2-fields";

// The group record of the objects, in the given order. The objects are only
// written: they stay where they are.
QByteArray PackFields(std::span<AbstractFormObject* const> objects);

// What a block pastes as: the one object when the group holds exactly one
// that is not a group, the group itself otherwise, and null for an empty
// group. A block comes from outside the program: a damaged record, or bytes
// left over after it, paste nothing (null) rather than part of the fields.
std::unique_ptr<AbstractFormObject> UnpackFields(QByteArrayView block, GlobalTextStorage* globalTexts);

// The system clipboard under the private format. Writing replaces whatever
// the clipboard held; reading gives an empty block when nothing of ours is there.
void PutFieldsOnClipboard(const QByteArray& block);
QByteArray FieldsOnClipboard();
