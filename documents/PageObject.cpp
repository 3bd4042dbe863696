#include "documents/PageObject.h"

PageObject::PageObject(GlobalTextStorage* globalTexts) : GroupObject(globalTexts) {}

PageObject::~PageObject() = default;

void PageObject::Draw(TCanvas& canvas, const DrawContext& context) const
{
    DrawContext plain = context;
    plain.FieldNumberPrefix.clear();
    GroupObject::Draw(canvas, plain);
}

int32_t PageObject::GetTypeCode() const
{
    return ObjectCode::Page;
}

void PageObject::DrawWithSelection(TCanvas& canvas, const SelectedTest& isSelected, bool showFieldNumbers) const
{
    if (!isSelected) {
        Draw(canvas, DrawContext{});
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        const AbstractFormObject* child = GetObject(i);
        const QString number = QString::number(i + 1);
        DrawContext context;
        if (showFieldNumbers)
            context.FieldNumberPrefix = number;
        if (isSelected(child))
            child->DrawSelected(canvas, context);
        else
            child->Draw(canvas, context);
        canvas.SetFont(FieldNumberFont());
        if (showFieldNumbers) {
            const TRect r = child->GetRect();
            canvas.TextOut(r.Left, r.Top, number);
        }
    }
}
