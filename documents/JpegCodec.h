#pragma once
// JPEG streams of picture fields, decoded and encoded with libjpeg. Neither
// routine ever ends the process: libjpeg's fatal errors come back as a null
// image or an empty stream with a message.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

// Pictures larger than this many pixels are refused rather than decoded, so a
// damaged or hostile header cannot make the program allocate gigabytes.
constexpr qint64 MaxJpegPixels = qint64(1) << 26;

// The decoded picture (RGBX, or 8-bit grey for one-component streams), or a
// null image with the reason in `error`. A stream cut short decodes as far as
// it goes, as libjpeg does, with the rest of the picture grey.
QImage DecodeJpeg(QByteArrayView data, QString* error = nullptr);

// A baseline JPEG stream of the image at `quality` (1..100, clamped). Empty,
// with the reason in `error`, for a null image or a libjpeg failure.
QByteArray EncodeJpeg(const QImage& image, int quality, QString* error = nullptr);
