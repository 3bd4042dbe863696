#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <thread>
#include <vector>

namespace {

constexpr QRgb Untouched = 0xFF808080;

QImage Blank()
{
    QImage image(80, 80, QImage::Format_ARGB32);
    image.fill(Untouched);
    return image;
}

} // namespace

TEST(CanvasColours, WindowsValuesAreBlueGreenRedFromTheHighByte)
{
    EXPECT_EQ(ToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(ToQColor(clRed), QColor(Qt::red));
    EXPECT_EQ(ToQColor(0x7F000000 | clWhite), QColor(Qt::white)); // flag byte ignored
}

TEST(CanvasFonts, CellHeightIsAscentPlusDescent)
{
    for (int height : {40, 400, 1000}) {
        for (const char* face : {"Arial", "Times New Roman", "Courier New"}) {
            const CellFont cell = MakeCellFont({height, 0, 400, false, face});
            const QFontMetricsF fm(cell.Font);
            EXPECT_NEAR((fm.ascent() + fm.descent()) * cell.Scale, height, 0.5) << face << " " << height;
        }
    }
    // A negative height is the em height; absurd sizes are bounded.
    EXPECT_EQ(MakeCellFont({-30, 0, 400, false, "Arial"}).Font.pixelSize(), 30);
    const CellFont huge = MakeCellFont({INT32_MAX, 0, 400, false, "Arial"});
    EXPECT_LE(huge.Font.pixelSize() * huge.Scale, 10000);
    const QFont bold = MakeCellFont({40, 900, 700, true, "Arial"}).Font;
    EXPECT_EQ(bold.weight(), QFont::Bold);
    EXPECT_TRUE(bold.italic());
}

TEST(CanvasFonts, ExtentsScaleWithHeightAndIgnoreEscapement)
{
    const FontTextMetrics metrics;
    const TSize small = metrics.TextExtent({100, 0, 400, false, "Arial"}, u"Quillfen");
    const TSize big = metrics.TextExtent({1000, 0, 400, false, "Arial"}, u"Quillfen");
    EXPECT_NEAR(big.cx, small.cx * 10, 6);
    EXPECT_NEAR(big.cy, 1000, 10);
    EXPECT_EQ(metrics.TextExtent({1000, 900, 400, false, "Arial"}, u"Quillfen"), big);
    EXPECT_GT(metrics.TextExtent({1000, 0, 700, false, "Arial"}, u"Quillfen").cx, big.cx);
    EXPECT_EQ(metrics.TextExtent({1000, 0, 400, false, "Arial"}, u"").cx, 0);
}

// Print jobs measure text on their own threads while the window paints: the
// sizes a thread finds must be the ones the main thread finds, whoever asked first.
TEST(CanvasFonts, ThreadsMeasureWhatTheMainThreadMeasures)
{
    const FontTextMetrics metrics;
    constexpr int Sizes = 40;
    const auto measure = [&metrics](std::vector<TSize>& out) {
        for (int i = 0; i < Sizes; ++i)
            out.push_back(metrics.TextExtent({30 + 7 * i, 0, i % 2 ? 700 : 400, i % 3 == 0, "Arial"}, u"R = 1.52 MOhm"));
    };
    std::vector<std::vector<TSize>> found(4);
    {
        std::vector<std::jthread> threads;
        for (auto& out : found)
            threads.emplace_back(measure, std::ref(out));
    }
    std::vector<TSize> expected;
    measure(expected);
    for (const auto& out : found)
        EXPECT_EQ(out, expected);
}

TEST(PainterCanvas, RectangleFillLeavesOutTheRightAndBottomEdge)
{
    QImage image = Blank();
    {
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        canvas.SetPenColor(clRed);
        canvas.SetBrushColor(clRed);
        canvas.Rectangle({14, 14, 10, 10}); // corners in any order
    }
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(13, 13), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(14, 13), Untouched);
    EXPECT_EQ(image.pixel(13, 14), Untouched);
    EXPECT_EQ(image.pixel(9, 9), Untouched);
}

TEST(PainterCanvas, OutlinesStayInsideTheAreaInWholePixels)
{
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    // A hairline (width 0) covers what a one-unit pen covers; a wider pen
    // grows inward; the mapping scales the pen.
    struct Case
    {
        int32_t penWidth;
        double scale;
        int outline; // pixels of outline from the left edge inward
    };
    for (const Case c : {Case{0, 1, 1}, Case{1, 1, 1}, Case{3, 1, 3}, Case{0, 2, 1}, Case{1, 2, 2}}) {
        QImage image = Blank();
        {
            QPainter painter(&image);
            painter.scale(c.scale, c.scale);
            PainterCanvas canvas(painter);
            canvas.SetPenColor(clRed);
            canvas.SetBrushColor(0xFF0000);
            canvas.SetPenWidth(c.penWidth);
            canvas.Rectangle({5, 5, 25, 25});
        }
        const int left = int(5 * c.scale), right = int(25 * c.scale), middle = (left + right) / 2;
        SCOPED_TRACE(testing::Message() << "pen " << c.penWidth << " scale " << c.scale);
        EXPECT_EQ(image.pixel(left - 1, middle), Untouched);
        EXPECT_EQ(image.pixel(right, middle), Untouched);
        EXPECT_EQ(image.pixel(middle, right), Untouched);
        EXPECT_EQ(image.pixel(right - 1, middle), red);
        EXPECT_EQ(image.pixel(middle, right - 1), red);
        EXPECT_EQ(image.pixel(left + c.outline - 1, middle), red);
        EXPECT_EQ(image.pixel(left + c.outline, middle), blue);
    }
}

TEST(PainterCanvas, BarThinnerThanAPixelStaysVisible)
{
    // At the designer's default zoom a unit is 0.4 pixels: a border bar one
    // unit wide must show as one column of pixels wherever it lies.
    for (bool antialiased : {false, true}) {
        for (int x = 10; x < 15; ++x) {
            QImage image = Blank();
            {
                QPainter painter(&image);
                painter.setRenderHint(QPainter::Antialiasing, antialiased);
                painter.scale(0.4, 0.4);
                PainterCanvas canvas(painter);
                canvas.SetPenColor(clBlack);
                canvas.SetBrushColor(clBlack);
                canvas.Rectangle({x, 10, x + 1, 60});
            }
            int columns = 0;
            for (int px = 0; px < image.width(); ++px)
                columns += image.pixel(px, 12) == qRgb(0, 0, 0) ? 1 : 0;
            EXPECT_EQ(columns, 1) << "x " << x << " antialiased " << antialiased;
        }
    }
}

TEST(PainterCanvas, TextCellsAreOpaqueFromTheTopLeftAndTurnCounterClockwise)
{
    QImage image = Blank();
    {
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        canvas.SetBrushColor(0xFF0000); // blue
        canvas.SetFont({20, 0, 400, false, "Arial"});
        canvas.TextOut(10, 10, u"  ");
        canvas.SetFont({20, 900, 400, false, "Arial"});
        canvas.TextOut(40, 60, u"  ");
    }
    const QRgb blue = qRgb(0, 0, 255);
    EXPECT_EQ(image.pixel(11, 11), blue);
    EXPECT_EQ(image.pixel(11, 28), blue);
    EXPECT_EQ(image.pixel(11, 9), Untouched);
    EXPECT_EQ(image.pixel(11, 31), Untouched);
    // Turned: the cell lies right of x and above y.
    EXPECT_EQ(image.pixel(41, 59), blue);
    EXPECT_EQ(image.pixel(58, 59), blue);
    EXPECT_EQ(image.pixel(39, 59), Untouched);
    EXPECT_EQ(image.pixel(41, 61), Untouched);
}

TEST(PainterCanvas, ClippedTextStaysInsideTheClipAndTheTransformApplies)
{
    QImage image = Blank();
    {
        QPainter painter(&image);
        painter.scale(0.5, 0.5); // logical units are half pixels
        PainterCanvas canvas(painter);
        canvas.SetBrushColor(clBlack);
        canvas.SetFont({40, 0, 400, false, "Arial"});
        canvas.TextOutClipped(20, 20, {20, 20, 40, 40}, u"WWWW");
        canvas.TextOut(100, 100, u"W");
    }
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inClip = x >= 10 && x < 20 && y >= 10 && y < 20;
            if (!inClip) {
                ASSERT_EQ(image.pixel(x, y), Untouched) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(image.pixel(11, 11), qRgb(0, 0, 0));
    EXPECT_NE(image.pixel(51, 51), Untouched);
}
