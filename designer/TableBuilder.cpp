#include "designer/TableBuilder.h"

#include "documents/GroupObject.h"
#include "platform/Canvas.h"

std::unique_ptr<GroupObject> BuildTable(const TableShape& shape, GlobalTextStorage* globalTexts)
{
    auto table = std::make_unique<GroupObject>(globalTexts);
    const auto edge = [](int64_t index, int32_t size) { return ClampToInt32(index * size); };
    for (int32_t r = 0; r < shape.Rows; ++r) {
        for (int32_t c = 0; c < shape.Columns; ++c) {
            std::unique_ptr<AbstractFormObject> cell = NewField(shape.Kind, globalTexts);
            cell->SetRect(edge(c, shape.CellWidth), edge(r, shape.CellHeight),
                          edge(c + 1, shape.CellWidth), edge(r + 1, shape.CellHeight));
            cell->SetTopBorder(r == 0 ? shape.OuterBorder : shape.InnerBorder);
            cell->SetBottomBorder(r == shape.Rows - 1 ? shape.OuterBorder : shape.InnerBorder);
            cell->SetLeftBorder(c == 0 ? shape.OuterBorder : shape.InnerBorder);
            cell->SetRightBorder(c == shape.Columns - 1 ? shape.OuterBorder : shape.InnerBorder);
            table->AddObject(std::move(cell));
        }
    }
    return table;
}
