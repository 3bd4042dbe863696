// Shared by the field record fuzz targets: a headless GUI application (SVG
// and fonts need one), the tests' recording canvas with fixed metrics, and
// the check that a record read once saves and reads back to the same bytes.
#pragma once

#include "documents/AbstractFormObject.h"
#include "tests/common/RecordingCanvas.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstdlib>

inline void StartHeadlessGui(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // Malformed drawings make QtSvg warn on every input.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.svg*=false"));
}

inline QByteArray SavedBytes(const AbstractFormObject& field)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    field.Save(out);
    return out.data();
}

// Reads records of `Field` one after another, exercises each, and aborts when
// a failed read leaves the stream unmarked or a saved record does not read
// back to itself.
template <typename Field, typename Exercise>
void FuzzFieldRecords(const uint8_t* data, size_t size, Exercise exercise)
{
    QBuffer stream;
    stream.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    stream.open(QIODevice::ReadOnly);
    for (int i = 0; i < 4 && !stream.atEnd(); ++i) {
        Field field;
        if (!field.Load(stream)) {
            if (!IsStreamDamaged(stream))
                std::abort();
            return;
        }
        exercise(field);
        const QByteArray saved = SavedBytes(field);
        QBuffer again;
        again.setData(saved);
        again.open(QIODevice::ReadOnly);
        Field reread;
        if (!reread.Load(again) || !again.atEnd() || SavedBytes(reread) != saved)
            std::abort();
    }
}
