#include "designer/FieldKinds.h"

#include "documents/GroupObject.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<FieldKind, int32_t>, 7> KindCodes = {{
    {FieldKind::Barcode, ObjectCode::Barcode},
    {FieldKind::Choice, ObjectCode::Choice},
    {FieldKind::GlobalText, ObjectCode::Global},
    {FieldKind::Link, ObjectCode::Link},
    {FieldKind::Measure, ObjectCode::Measure},
    {FieldKind::Picture, ObjectCode::Picture},
    {FieldKind::Text, ObjectCode::Text},
}};

// In the order of the table dialog's cell type list.
constexpr std::array<FieldKind, 6> TableCellKinds = {FieldKind::Barcode, FieldKind::Choice,
                                                     FieldKind::GlobalText, FieldKind::Link,
                                                     FieldKind::Measure, FieldKind::Picture};

// Indexed by conversion code - 1.
constexpr std::array<FieldKind, 6> ConversionKinds = {FieldKind::Barcode, FieldKind::Choice,
                                                      FieldKind::GlobalText, FieldKind::Text,
                                                      FieldKind::Link, FieldKind::Measure};

} // namespace

std::unique_ptr<AbstractFormObject> NewField(FieldKind kind, GlobalTextStorage* globalTexts)
{
    for (const auto& [k, code] : KindCodes)
        if (k == kind)
            return CreateFormObject(code, globalTexts);
    return nullptr;
}

FieldKind TableCellKind(int index)
{
    if (index < 0 || index >= static_cast<int>(TableCellKinds.size()))
        return FieldKind::Text;
    return TableCellKinds[static_cast<size_t>(index)];
}

bool ConversionKind(int code, FieldKind& kind)
{
    if (code < 1 || code > static_cast<int>(ConversionKinds.size()))
        return false;
    kind = ConversionKinds[static_cast<size_t>(code - 1)];
    return true;
}
