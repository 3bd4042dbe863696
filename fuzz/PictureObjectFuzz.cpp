// Picture field records: lengths, kinds and the picture bytes of each kind.
#include "fuzz/FieldFuzzSupport.h"
#include "documents/PictureObject.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFieldRecords<PictureObject>(data, size, [](PictureObject& field) {
        const TGraphic* graphic = field.GetGraphic();
        // Bitmaps and JPEGs are drawn from the decoded image; SVG rendering
        // is QtSvg's and not what this target is after.
        if (graphic && graphic->Kind() != GraphicKind::Metafile) {
            RecordingCanvas canvas;
            field.Draw(canvas, DrawContext{});
        }
        field.Clone();
    });
    return 0;
}
