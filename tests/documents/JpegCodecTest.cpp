#include <gtest/gtest.h>

#include "documents/JpegCodec.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <cstdio>
#include <vector>
#include <jpeglib.h>

namespace {

QImage TestPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, QColor(200, 30, 30));
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, QColor(20, 40, 220));
    return image;
}

int MaxChannelDifference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// Colours in the middle of each quarter, where JPEG blocks carry no edge.
void ExpectSameQuarters(const QImage& expected, const QImage& actual)
{
    ASSERT_EQ(actual.size(), expected.size());
    const int w = expected.width(), h = expected.height();
    for (QPoint p : {QPoint(w / 4, h / 4), QPoint(3 * w / 4, 3 * h / 4), QPoint(3 * w / 4, h / 4)})
        EXPECT_LE(MaxChannelDifference(expected.pixel(p), actual.pixel(p)), 12) << p.x() << "," << p.y();
}

QByteArray QtJpeg(const QImage& image, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

// Runs libjpeg's own compressor: `tune` adjusts the defaults, every row is `row`.
template <typename Tune>
QByteArray CompressDirectly(int width, int height, int components, J_COLOR_SPACE space, Tune tune,
                            std::vector<unsigned char> row)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    tune(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

// A four-component stream as print software writes it, with or without the
// inverted inks of Adobe's convention.
QByteArray CmykJpeg(int c, int m, int y, int k, bool adobeInverted)
{
    std::vector<unsigned char> row;
    for (int x = 0; x < 16; ++x)
        for (int ink : {c, m, y, k})
            row.push_back(static_cast<unsigned char>(adobeInverted ? 255 - ink : ink));
    return CompressDirectly(16, 16, 4, JCS_CMYK, [adobeInverted](jpeg_compress_struct& cinfo) {
        cinfo.write_Adobe_marker = adobeInverted ? TRUE : FALSE;
        jpeg_set_quality(&cinfo, 95, TRUE);
    }, row);
}

// A valid progressive grey stream that refines every coefficient one bit at a
// time: 11 scans for DC and 11 for each of the 63 AC coefficients.
QByteArray ManyScanJpeg()
{
    std::vector<jpeg_scan_info> scans;
    for (int coef = 0; coef < 64; ++coef)
        for (int al = 10; al >= 0; --al)
            scans.push_back({1, {0, 0, 0, 0}, coef, coef, al == 10 ? 0 : al + 1, al});
    return CompressDirectly(8, 8, 1, JCS_GRAYSCALE, [&scans](jpeg_compress_struct& cinfo) {
        cinfo.scan_info = scans.data();
        cinfo.num_scans = static_cast<int>(scans.size());
    }, {0, 40, 80, 120, 160, 200, 240, 255});
}

// Offset of the frame header's height field (after FF C0/C2, length, precision).
qsizetype FrameSizeOffset(const QByteArray& jpeg)
{
    for (qsizetype i = 0; i + 9 < jpeg.size(); ++i)
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) == 0xC0 || uchar(jpeg[i + 1]) == 0xC2))
            return i + 5;
    return -1;
}

} // namespace

TEST(JpegCodecTest, RoundTripsThroughOurEncoderAndOtherDecoders)
{
    const QImage picture = TestPicture(64, 48);
    QString error;
    const QByteArray ours = EncodeJpeg(picture, 90, &error);
    ASSERT_FALSE(ours.isEmpty()) << error.toStdString();
    EXPECT_TRUE(ours.startsWith("\xFF\xD8")) << "SOI marker";
    EXPECT_TRUE(ours.endsWith("\xFF\xD9")) << "EOI marker";

    ExpectSameQuarters(picture, DecodeJpeg(ours, &error));
    // Another decoder reads what we wrote, and we read what another encoder
    // wrote, baseline and progressive.
    ExpectSameQuarters(picture, QImage::fromData(ours, "JPG"));
    ExpectSameQuarters(picture, DecodeJpeg(QtJpeg(picture, false)));
    ExpectSameQuarters(picture, DecodeJpeg(QtJpeg(picture, true)));

    // A lower quality gives a smaller stream.
    EXPECT_LT(EncodeJpeg(picture, 10).size(), ours.size());
}

TEST(JpegCodecTest, GreyAndCmykPictures)
{
    QImage grey(32, 32, QImage::Format_Grayscale8);
    grey.fill(100);
    const QImage decodedGrey = DecodeJpeg(EncodeJpeg(grey, 95));
    EXPECT_EQ(decodedGrey.format(), QImage::Format_Grayscale8);
    EXPECT_NEAR(qGray(decodedGrey.pixel(16, 16)), 100, 2);

    // Pure cyan ink, stored plainly and in Adobe's inverted form, is the same colour.
    for (bool inverted : {false, true}) {
        const QImage cyan = DecodeJpeg(CmykJpeg(255, 0, 0, 0, inverted));
        ASSERT_FALSE(cyan.isNull());
        EXPECT_LE(MaxChannelDifference(cyan.pixel(8, 8), qRgb(0, 255, 255)), 6) << inverted;
    }
}

TEST(JpegCodecTest, DamagedStreamsFailWithAMessage)
{
    QString error;
    EXPECT_TRUE(DecodeJpeg(QByteArray(), &error).isNull());
    EXPECT_FALSE(error.isEmpty());

    error.clear();
    EXPECT_TRUE(DecodeJpeg(QByteArray("BM this is no jpeg at all"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());

    const QByteArray good = EncodeJpeg(TestPicture(64, 64), 90);
    // Cut inside the header: no frame to decode.
    error.clear();
    EXPECT_TRUE(DecodeJpeg(good.left(20), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    // Cut inside the picture data: libjpeg decodes what is there.
    QImage noise(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            noise.setPixel(x, y, qRgb((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) % 256));
    const QByteArray big = EncodeJpeg(noise, 90);
    const QImage cut = DecodeJpeg(big.left(big.size() * 3 / 4), &error);
    EXPECT_EQ(cut.size(), QSize(256, 256)) << error.toStdString();

    // A frame that claims 60000 x 60000 pixels is refused before any allocation.
    QByteArray huge = good;
    const qsizetype at = FrameSizeOffset(huge);
    ASSERT_GT(at, 0);
    huge[at] = char(0xEA);
    huge[at + 1] = char(0x60);
    huge[at + 2] = char(0xEA);
    huge[at + 3] = char(0x60);
    error.clear();
    EXPECT_TRUE(DecodeJpeg(huge, &error).isNull());
    EXPECT_TRUE(error.contains(QStringLiteral("too large"))) << error.toStdString();

    // Hundreds of scans are a decoding-time trap, not a picture.
    const QByteArray manyScans = ManyScanJpeg();
    EXPECT_FALSE(QImage::fromData(manyScans, "JPG").isNull()) << "the stream itself is valid";
    error.clear();
    EXPECT_TRUE(DecodeJpeg(manyScans, &error).isNull());
    EXPECT_TRUE(error.contains(QStringLiteral("scans"))) << error.toStdString();

    error.clear();
    EXPECT_TRUE(EncodeJpeg(QImage(), 90, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}
