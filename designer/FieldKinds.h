#pragma once
// The kinds of field the designer creates: by its Field menu, by a table's
// cell type and by "Change to field". Each list numbers the kinds its own way.

#include <cstdint>
#include <memory>

class AbstractFormObject;
class GlobalTextStorage;

enum class FieldKind { Barcode, Choice, GlobalText, Link, Measure, Picture, Text };

// A new field of the kind with its class defaults (a barcode holds "00000000").
std::unique_ptr<AbstractFormObject> NewField(FieldKind kind, GlobalTextStorage* globalTexts);

// The cell type list of the new table dialog: 0 Barcode ... 5 Picture, any
// other index Text.
FieldKind TableCellKind(int index);

// "Change to field": 1 Barcode, 2 Choice, 3 Global text, 4 Text, 5 Link,
// 6 Measure; false for every other code (nothing is converted).
bool ConversionKind(int code, FieldKind& kind);
