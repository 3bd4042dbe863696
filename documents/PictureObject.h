#pragma once
// The picture field: one picture (bitmap, metafile or JPEG) stretched over
// the field's rectangle and stored inside the document.

#include "documents/AbstractFormObject.h"
#include "documents/Graphics.h"

class PictureObject : public AbstractFormObject
{
public:
    PictureObject();
    // The base copy and a copy of the picture of its own.
    PictureObject(const PictureObject& other);

    // Reads the record after the base record. A picture length that cannot be
    // right for the bytes left marks the stream damaged and reads nothing
    // more; a picture kind that is not known is skipped.
    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    ~PictureObject() override;
    void Draw(TCanvas& canvas, const DrawContext& context) const override;
    std::unique_ptr<AbstractFormObject> Clone() const override;
    int32_t GetTypeCode() const override;

    // The picture, or null.
    const TGraphic* GetGraphic() const { return Picture.get(); }
    // Replaces the picture by a copy of `graphic` (none for null). The copy is
    // made from the graphic's stored bytes, so it is never re-encoded.
    void SetGraphic(const TGraphic* graphic);

private:
    std::unique_ptr<TGraphic> Picture;
};
