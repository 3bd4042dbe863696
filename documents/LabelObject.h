#pragma once
// The label field: a plain rectangle that marks the area of one label on a
// barcode label sheet.

#include "documents/AbstractFormObject.h"

class LabelObject : public AbstractFormObject
{
public:
    // Without borders.
    LabelObject();
    LabelObject(const LabelObject& other);
    ~LabelObject() override;
    std::unique_ptr<AbstractFormObject> Clone() const override;
    int32_t GetTypeCode() const override;
};
