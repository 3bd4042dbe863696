// Choice field records and the display of their alternatives.
#include "fuzz/FieldFuzzSupport.h"
#include "documents/ChoiceObject.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzFieldRecords<ChoiceObject>(data, size, [](ChoiceObject& field) {
        RecordingCanvas canvas;
        field.Draw(canvas, DrawContext{});
        for (int i = 0; i < 3; ++i) {
            field.GetDisplayText();
            field.Activate();
        }
    });
    return 0;
}
