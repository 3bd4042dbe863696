// Barcode field records (a text record whose text need not be digits) and
// the drawing of whatever they hold.
#include "fuzz/FieldFuzzSupport.h"
#include "documents/BarcodeObject.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFieldRecords<BarcodeObject>(data, size, [](BarcodeObject& field) {
        RecordingCanvas canvas;
        field.Draw(canvas, DrawContext{});
        field.SetText(field.GetText());
        field.Draw(canvas, DrawContext{});
    });
    return 0;
}
