// Shared by the field record fuzz targets: a headless GUI application (SVG
// and fonts need one) and a loop over the records of one field class.
#pragma once

#include "documents/AbstractFormObject.h"
#include "fuzz/RecordRoundTrip.h"
#include "tests/common/RecordingCanvas.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstdlib>

// Each fuzz target is its own program, including this header once.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // Malformed drawings make QtSvg warn on every input.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.svg*=false"));
    return 0;
}

// Reads records of `Field` one after another and exercises each. Aborts when
// a failed read leaves the stream unmarked, a read goes past the end, or a
// record read once does not save and read back to the same bytes.
template <typename Field, typename Exercise>
void FuzzFieldRecords(const uint8_t* data, size_t size, Exercise exercise)
{
    QBuffer stream;
    stream.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    stream.open(QIODevice::ReadOnly);
    for (int i = 0; i < 4 && !stream.atEnd(); ++i) {
        Field field;
        const bool loaded = field.Load(stream);
        if (stream.pos() > stream.size() || (!loaded && !IsStreamDamaged(stream)))
            std::abort();
        if (!loaded)
            return;
        exercise(field);
        CheckRoundTrip(field, [] { return Field(); });
    }
}
