// Picture field records: lengths, kinds and the picture bytes of each kind.
#include "fuzz/FieldFuzzSupport.h"
#include "documents/PictureObject.h"

#include <cstdlib>

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
        // The copy of a drawing that Qt parses holds nothing to clean away:
        // cleaning it again changes nothing.
        if (graphic && graphic->Kind() == GraphicKind::Metafile) {
            const QByteArray drawing = SelfContainedSvg(graphic->SaveToBytes());
            if (!drawing.isEmpty() && SelfContainedSvg(drawing) != drawing)
                std::abort();
        }
        field.Clone();
    });
    return 0;
}
