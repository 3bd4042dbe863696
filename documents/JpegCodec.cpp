#include "documents/JpegCodec.h"

#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return. We
// jump back to the stage that started the work. Only the small stage
// functions below call setjmp, and they hold nothing with a destructor, so the
// jump skips no C++ clean-up; everything with one lives in their callers.
struct JpegError
{
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool tooManyScans;
};

// A progressive stream can hold thousands of tiny scans, each of which makes
// libjpeg walk the whole picture again; real encoders never write more than a
// few dozen.
constexpr long MaxProgressiveScans = 500;

[[noreturn]] void OnFatalError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    if (err->tooManyScans)
        std::snprintf(err->message, sizeof err->message, "too many progressive scans");
    else
        (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (such as a stream cut short) are not printed to stderr.
void OnOutputMessage(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->progressive_mode && dinfo->input_scan_number > MaxProgressiveScans) {
        reinterpret_cast<JpegError*>(cinfo->err)->tooManyScans = true;
        (*cinfo->err->error_exit)(cinfo);
    }
}

void InitError(JpegError& err)
{
    std::memset(&err, 0, sizeof err);
    jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnFatalError;
    err.mgr.output_message = OnOutputMessage;
}

QString ErrorText(const JpegError& err)
{
    return QString::fromLatin1(err.message);
}

// --- decoding ---------------------------------------------------------------

bool ReadHeader(jpeg_decompress_struct& cinfo, JpegError& err, const unsigned char* data,
                unsigned long size)
{
    if (setjmp(err.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        cinfo.out_color_space = JCS_EXT_RGBX;
        break;
    }
    jpeg_calc_output_dimensions(&cinfo);
    return true;
}

// Decodes every scanline straight into the rows of the target image.
bool ReadScanlines(jpeg_decompress_struct& cinfo, JpegError& err, unsigned char* bits,
                   qsizetype bytesPerLine)
{
    if (setjmp(err.jump))
        return false;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = bits + bytesPerLine * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

// CMYK streams come from print software; Adobe's store every ink inverted.
void CmykToRgb(QImage& image, bool inverted)
{
    for (int y = 0; y < image.height(); ++y) {
        uchar* p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, p += 4) {
            int c = p[0], m = p[1], ye = p[2], k = p[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            p[0] = static_cast<uchar>(c * k / 255);
            p[1] = static_cast<uchar>(m * k / 255);
            p[2] = static_cast<uchar>(ye * k / 255);
            p[3] = 255;
        }
    }
}

struct DecompressGuard
{
    jpeg_decompress_struct& cinfo;
    ~DecompressGuard() { jpeg_destroy_decompress(&cinfo); }
};

// --- encoding ---------------------------------------------------------------

// Collects the encoder's output in a QByteArray, a chunk at a time.
struct ByteArraySink
{
    jpeg_destination_mgr mgr;
    QByteArray* out;
    std::array<JOCTET, 16384> chunk;
};

void SinkInit(j_compress_ptr cinfo)
{
    auto* sink = reinterpret_cast<ByteArraySink*>(cinfo->dest);
    sink->mgr.next_output_byte = sink->chunk.data();
    sink->mgr.free_in_buffer = sink->chunk.size();
}

boolean SinkEmpty(j_compress_ptr cinfo)
{
    auto* sink = reinterpret_cast<ByteArraySink*>(cinfo->dest);
    // libjpeg calls this only when the whole chunk is full.
    sink->out->append(reinterpret_cast<const char*>(sink->chunk.data()),
                      static_cast<qsizetype>(sink->chunk.size()));
    SinkInit(cinfo);
    return TRUE;
}

void SinkTerm(j_compress_ptr cinfo)
{
    auto* sink = reinterpret_cast<ByteArraySink*>(cinfo->dest);
    const size_t used = sink->chunk.size() - sink->mgr.free_in_buffer;
    sink->out->append(reinterpret_cast<const char*>(sink->chunk.data()),
                      static_cast<qsizetype>(used));
}

bool WriteScanlines(jpeg_compress_struct& cinfo, JpegError& err, ByteArraySink& sink,
                    const unsigned char* bits, qsizetype bytesPerLine, int width, int height,
                    int components, int quality)
{
    if (setjmp(err.jump))
        return false;
    jpeg_create_compress(&cinfo);
    cinfo.dest = &sink.mgr;
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg takes non-const rows but only reads them.
        JSAMPROW row = const_cast<unsigned char*>(bits + bytesPerLine * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

struct CompressGuard
{
    jpeg_compress_struct& cinfo;
    ~CompressGuard() { jpeg_destroy_compress(&cinfo); }
};

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

QImage DecodeJpeg(QByteArrayView data, QString* error)
{
    if (data.isEmpty()) {
        SetError(error, QStringLiteral("empty JPEG stream"));
        return {};
    }
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    JpegError err;
    InitError(err);
    cinfo.err = &err.mgr;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = OnProgress;
    // Destroying a never-created struct is harmless: its memory manager is null.
    DecompressGuard guard{cinfo};

    if (!ReadHeader(cinfo, err, reinterpret_cast<const unsigned char*>(data.data()),
                    static_cast<unsigned long>(data.size()))) {
        SetError(error, ErrorText(err));
        return {};
    }
    cinfo.progress = &progress;
    const qint64 width = cinfo.output_width;
    const qint64 height = cinfo.output_height;
    if (width <= 0 || height <= 0 || width * height > MaxJpegPixels) {
        SetError(error, QStringLiteral("JPEG picture too large (%1 x %2)").arg(width).arg(height));
        return {};
    }
    const bool grey = cinfo.out_color_space == JCS_GRAYSCALE;
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    QImage image(static_cast<int>(width), static_cast<int>(height),
                 grey ? QImage::Format_Grayscale8 : QImage::Format_RGBX8888);
    if (image.isNull()) {
        SetError(error, QStringLiteral("not enough memory for the JPEG picture"));
        return {};
    }
    if (!ReadScanlines(cinfo, err, image.bits(), image.bytesPerLine())) {
        SetError(error, ErrorText(err));
        return {};
    }
    if (cmyk)
        CmykToRgb(image, cinfo.saw_Adobe_marker);
    return image;
}

QByteArray EncodeJpeg(const QImage& image, int quality, QString* error)
{
    if (image.isNull()) {
        SetError(error, QStringLiteral("no picture to encode"));
        return {};
    }
    const bool grey = image.format() == QImage::Format_Grayscale8;
    const QImage source = grey ? image : image.convertToFormat(QImage::Format_RGB888);
    QByteArray out;
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    JpegError err;
    InitError(err);
    cinfo.err = &err.mgr;
    ByteArraySink sink{};
    sink.mgr.init_destination = SinkInit;
    sink.mgr.empty_output_buffer = SinkEmpty;
    sink.mgr.term_destination = SinkTerm;
    sink.out = &out;
    CompressGuard guard{cinfo};
    if (!WriteScanlines(cinfo, err, sink, source.constBits(), source.bytesPerLine(),
                        source.width(), source.height(), grey ? 1 : 3,
                        qBound(1, quality, 100))) {
        SetError(error, ErrorText(err));
        return {};
    }
    return out;
}
