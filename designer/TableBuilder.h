#pragma once
// A table of fields: one group of equal cells laid out from the page's
// top-left corner, with an outer border around the table and an inner one
// between the cells.

#include "designer/FieldKinds.h"

#include <cstdint>
#include <memory>

class GlobalTextStorage;
class GroupObject;

struct TableShape
{
    int32_t Rows = 0;
    int32_t Columns = 0;
    // In tenths of a millimetre.
    int32_t CellWidth = 0;
    int32_t CellHeight = 0;
    int32_t OuterBorder = 0;
    int32_t InnerBorder = 0;
    FieldKind Kind = FieldKind::Text;
};

// The group of Rows x Columns cells, row by row. No rows or no columns give
// an empty group.
std::unique_ptr<GroupObject> BuildTable(const TableShape& shape, GlobalTextStorage* globalTexts);
