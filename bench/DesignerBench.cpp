// The designer's drawing and opening speed: a full repaint of a page of 500
// fields at the largest zoom, one step of a rubber band drag on that page
// (which repaints only the strips its outline leaves and enters), the
// opening of a 100-page template, and the opening and repaint of a page whose
// one large text field holds 1 kB or 2 MB of styled text. Prints the
// median milliseconds of processor time of each.

#include "designer/QuillfenDesignerForm.h"
#include "designer/widgets/DesignerCanvas.h"
#include "designer/widgets/QuillfenDesigner.h"
#include "documents/BarcodeObject.h"
#include "documents/MeasureObject.h"
#include "documents/TextObject.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollArea>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int FieldsOnPage = 500;
constexpr int PagesInTemplate = 100;
constexpr int FieldsPerOpenedPage = 30;
constexpr int32_t Columns = 20;
constexpr int32_t CellWidth = 100;
constexpr int32_t CellHeight = 110;
constexpr int Runs = 15;
constexpr int DragSteps = 200;
// The page with one long text: its grid of fields above a text field of
// 100 x 40 mm that shows some ten lines of fifty characters, holding 2 MB or
// a short text of 1 kB that fills it as well.
constexpr qsizetype LongTextBytes = 2 * 1024 * 1024;
constexpr qsizetype ShortTextBytes = 1024;
constexpr int LongTextRuns = 5;
constexpr TRect LongTextRect{0, 300, 1000, 700};

// Text, barcode and measure fields in a grid over the page.
void FillPage(QuillfenDesignerForm& document, int count)
{
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<TextObject> field;
        switch (i % 3) {
        case 0: field = std::make_unique<TextObject>(); field->SetText(QStringLiteral("Field %1").arg(i)); break;
        case 1: field = std::make_unique<BarcodeObject>(); field->SetText(QString::number(10000000 + i)); break;
        default: field = std::make_unique<MeasureObject>(); break;
        }
        const int32_t left = (i % Columns) * CellWidth;
        const int32_t top = (i / Columns) * CellHeight;
        field->SetRect(left, top, left + CellWidth, top + CellHeight);
        document.AddObject(std::move(field));
    }
}

// Lines of words in UTF-8 up to `bytes`, with Czech letters (two bytes each)
// and a bold, subscript or italic word now and then, as pasted notes bring them.
QString LongStyledText(qsizetype bytes)
{
    static const QString words[] = {QStringLiteral("inspection"), QStringLiteral("měření"),
                                    QStringLiteral("izolační"),   QStringLiteral("odpor"),
                                    QStringLiteral("RCD"),        QStringLiteral("loop"),
                                    QStringLiteral("impedance"),  QStringLiteral("Zs")};
    static const char16_t styles[] = {4, 2, 8, 3};
    QString text;
    qsizetype size = 0;
    for (int i = 0; size < bytes; ++i) {
        const QString& word = words[i % std::size(words)];
        if (i % 13 == 5) {
            text += QChar(27);
            text += QChar(styles[i / 13 % std::size(styles)]);
            text += word;
            text += QChar(27);
            text += QChar(1);
            size += 4;
        } else {
            text += word;
        }
        text += i % 11 == 10 ? u'\n' : u' ';
        size += word.toUtf8().size() + 1;
    }
    return text;
}

// The main thread's processor time: the painting is all on it, and a
// shared machine's load does not stretch it as it does the wall clock.
double ThreadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double MedianMs(const std::function<void()>& step, int runs = Runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = ThreadMs();
        step();
        times.push_back(ThreadMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Send(QWidget* widget, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, p, widget->mapToGlobal(p), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TForm2 window;
    window.resize(1200, 900);
    window.show();
    FillPage(window.GetDocument(), FieldsOnPage);
    window.GetDocument().GetZoom().SetZoom(QuillfenZoom::MaxZoom);
    QCoreApplication::processEvents();
    QImage page(window.PaintBox1->size(), QImage::Format_RGB32);
    const double paint = MedianMs([&] { window.PaintBox1->render(&page); });
    std::printf("full repaint, %d fields at zoom 250 (%dx%d px): %.2f ms\n", FieldsOnPage, page.width(),
                page.height(), paint);

    // A rubber band from an empty corner across the crowded page: every step
    // is one pointer move with the repaint it causes.
    const QPoint start(2050, 2900);
    Send(window.PaintBox1, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    int step = 0;
    const double drag = MedianMs(
        [&] {
            const QPoint p(1900 - step % 1500, 2800 - step % 1500);
            ++step;
            Send(window.PaintBox1, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
            QCoreApplication::processEvents();
        },
        DragSteps);
    Send(window.PaintBox1, QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    std::printf("one drag step on that page (visible part %dx%d px): %.3f ms\n", window.ScrollBox1->width(),
                window.ScrollBox1->height(), drag);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages.qfs"));
    {
        QuillfenDesignerForm source({}, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight);
        for (int p = 0; p < PagesInTemplate; ++p) {
            if (p > 0)
                source.InsertPage();
            FillPage(source, FieldsPerOpenedPage);
        }
        QString error;
        if (!source.SaveFile(path, error)) {
            std::printf("the template could not be written\n");
            return 1;
        }
    }
    QuillfenDesignerForm document({}, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight);
    bool opened = true;
    const double open = MedianMs([&] {
        opened = opened && document.OpenFile(path) == QuillfenDesignerForm::OpenResult::Template;
    });
    std::printf("open a %d-page template of %d fields a page: %.2f ms%s\n", PagesInTemplate, FieldsPerOpenedPage,
                open, opened ? "" : " (FAILED to open)");
    if (!opened)
        return 1;

    // The same page with 1 kB and with 2 MB in its large field: open it into
    // the window until the page is painted (and the loading alone), and
    // repaint it whole at the default zoom and at the largest.
    for (const bool longText : {false, true}) {
        const QString name =
            dir.filePath(longText ? QStringLiteral("long.qfs") : QStringLiteral("short.qfs"));
        {
            QuillfenDesignerForm source({}, QuillfenForm::DefaultWidth,
                                        QuillfenForm::DefaultHeight);
            FillPage(source, FieldsPerOpenedPage);
            auto field = std::make_unique<TextObject>();
            field->SetText(LongStyledText(longText ? LongTextBytes : ShortTextBytes));
            field->SetRect(LongTextRect.Left, LongTextRect.Top, LongTextRect.Right,
                           LongTextRect.Bottom);
            source.AddObject(std::move(field));
            QString error;
            if (!source.SaveFile(name, error)) {
                std::printf("the template could not be written\n");
                return 1;
            }
        }
        // The drag above changed the window's document: no save question.
        window.GetDocument().SetModified(false);
        const double load = MedianMs([&] { window.OpenFile(name); }, LongTextRuns);
        QCoreApplication::processEvents();
        QImage shown(window.PaintBox1->size(), QImage::Format_RGB32);
        const double openPage = MedianMs(
            [&] {
                window.OpenFile(name);
                window.PaintBox1->render(&shown);
            },
            LongTextRuns);
        const double repaint = MedianMs([&] { window.PaintBox1->render(&shown); }, LongTextRuns);
        window.GetDocument().GetZoom().SetZoom(QuillfenZoom::MaxZoom);
        QCoreApplication::processEvents();
        QImage large(window.PaintBox1->size(), QImage::Format_RGB32);
        const double repaintLarge =
            MedianMs([&] { window.PaintBox1->render(&large); }, LongTextRuns);
        std::printf(
            "page of %d fields and %s of text: open %.2f ms (loading %.2f ms), repaint at zoom 100 "
            "%.2f ms, at zoom 250 %.2f ms\n",
            FieldsPerOpenedPage + 1, longText ? "2 MB" : "1 kB", openPage, load, repaint,
            repaintLarge);
    }
    return 0;
}
