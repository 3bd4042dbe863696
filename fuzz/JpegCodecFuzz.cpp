// JPEG streams as picture fields and picture files bring them.
#include "documents/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QImage image = DecodeJpeg(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!image.isNull() && image.width() * qint64(image.height()) <= 256 * 256)
        EncodeJpeg(image, 75);
    return 0;
}
