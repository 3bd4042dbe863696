#include "documents/LabelObject.h"

LabelObject::LabelObject()
{
    LeftBorder = 0;
    TopBorder = 0;
    RightBorder = 0;
    BottomBorder = 0;
}

LabelObject::LabelObject(const LabelObject& other) = default;

LabelObject::~LabelObject() = default;

std::unique_ptr<AbstractFormObject> LabelObject::Clone() const
{
    return std::make_unique<LabelObject>(*this);
}

int32_t LabelObject::GetTypeCode() const
{
    return ObjectCode::Label;
}
