#pragma once
// A page of a form: the group at the top of the object tree, which paints
// itself plainly or, in the designer, with the selection and field numbers.

#include "documents/GroupObject.h"

#include <functional>

class PageObject : public GroupObject
{
public:
    // Whether an object is selected; an empty function is no selection.
    using SelectedTest = std::function<bool(const AbstractFormObject*)>;

    explicit PageObject(GlobalTextStorage* globalTexts);
    ~PageObject() override;
    // Every child in order, without field numbers.
    void Draw(TCanvas& canvas, const DrawContext& context) const override;
    int32_t GetTypeCode() const override;

    // Draws the selected children with their handles and, when asked, writes
    // each child's number (from 1) at its top-left corner; children of groups
    // are numbered "2:1", "2:2" ... by their group. With no selection, the
    // same as Draw.
    void DrawWithSelection(TCanvas& canvas, const SelectedTest& isSelected, bool showFieldNumbers) const;
};
