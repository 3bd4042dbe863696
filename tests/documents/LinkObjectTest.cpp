#include <gtest/gtest.h>

#include "common/FieldRecords.h"
#include "common/RecordingCanvas.h"
#include "documents/LinkObject.h"
#include "instruments/InstrumentItem.h"
#include "platform/Shell.h"

#include <QDir>

namespace {

// Catches what a click would open instead of opening it.
class OpenedTargets
{
public:
    OpenedTargets()
    {
        SetUrlOpener([this](const QUrl& url) {
            urls.append(url);
            return true;
        });
    }
    ~OpenedTargets() { SetUrlOpener(nullptr); }
    QList<QUrl> urls;
};

QUrl OpenedBy(const QString& text)
{
    OpenedTargets opened;
    LinkObject link;
    link.SetText(text);
    link.Activate();
    return opened.urls.size() == 1 ? opened.urls.front() : QUrl(QStringLiteral("bad:count"));
}

} // namespace

TEST(LinkObject, CaptionIsShownAndTargetOpened)
{
    LinkObject link;
    link.SetText(QStringLiteral("/srv/reports/2024.pdf;Report;final"));
    EXPECT_EQ(link.GetDisplayText(), QStringLiteral("Report;final"));
    EXPECT_EQ(link.GetTarget(), QStringLiteral("/srv/reports/2024.pdf"));
    EXPECT_EQ(OpenedBy(link.GetText()), QUrl::fromLocalFile(QStringLiteral("/srv/reports/2024.pdf")));

    link.SetText(QStringLiteral("Report"));
    EXPECT_EQ(link.GetDisplayText(), QStringLiteral("Report"));
    EXPECT_EQ(OpenedBy(QStringLiteral("Report")), QUrl::fromLocalFile(QDir::current().absoluteFilePath("Report")));

    link.SetText(QStringLiteral(";Report"));
    EXPECT_EQ(link.GetDisplayText(), QStringLiteral("Report"));
    EXPECT_EQ(OpenedBy(QStringLiteral(";Report")), QUrl());
}

TEST(LinkObject, TargetsReachTheDesktopWhole)
{
    EXPECT_EQ(OpenedBy(QStringLiteral("https://example.com/a b?x=1;Web")),
              QUrl(QStringLiteral("https://example.com/a%20b?x=1")));
    EXPECT_EQ(OpenedBy(QStringLiteral("mailto:office@example.com;Mail")),
              QUrl(QStringLiteral("mailto:office@example.com")));
    EXPECT_EQ(OpenedBy(QStringLiteral("www.example.com;Web")), QUrl(QStringLiteral("http://www.example.com")));
    // A drive letter is no scheme.
    EXPECT_TRUE(OpenedBy(QStringLiteral("C:\\docs\\a.pdf;Doc")).isLocalFile());
    // Non-ASCII characters arrive as characters, not as their UTF-8 bytes.
    const QString czech = QStringLiteral("/data/zpr\u00E1va \u010D.pdf");
    EXPECT_EQ(OpenedBy(czech + ";Zpráva").toLocalFile(), czech);
    // Longer than any fixed buffer would hold.
    const QString deep = QStringLiteral("/data/") + QString(1500, u'd') + QStringLiteral("/f.pdf");
    EXPECT_EQ(OpenedBy(deep + ";Deep").toLocalFile(), deep);
}

TEST(LinkObject, RecordIsATextRecordAndNeverFilled)
{
    LinkObject link;
    link.SetText(QStringLiteral("/a.pdf;A"));
    link.SetType(3);
    EXPECT_EQ(link.GetType(), 0);
    EXPECT_FALSE(link.IsFillable());
    EXPECT_EQ(link.GetTypeCode(), FourCC("link"));

    const QByteArray record = BaseRecord() + TextRecordTail("/a.pdf;A");
    EXPECT_EQ(SavedRecord(link), record);
    EXPECT_EQ(WrittenXml(link), DefaultBaseXml() + "<String>/a.pdf;A</String>\n<Align>4</Align>\n"
                                                   "<Font>Arial</Font>\n<Size>40</Size>\n<Type>0</Type>\n");
    LinkObject loaded;
    ASSERT_TRUE(LoadRecord(loaded, record));
    EXPECT_EQ(loaded.GetDisplayText(), QStringLiteral("A"));

    const InstrumentItem item(230.0, 1, true, false);
    loaded.Fill(&item);
    EXPECT_EQ(loaded.GetText(), QStringLiteral("/a.pdf;A"));

    const auto clone = loaded.Clone();
    EXPECT_EQ(clone->GetTypeCode(), FourCC("link"));
    EXPECT_EQ(SavedRecord(*clone), record);
}

TEST(LinkObject, DrawsTheCaption)
{
    LinkObject link;
    link.SetRect(0, 0, 402, 102);
    link.SetAlign(0);
    link.SetText(QStringLiteral("/srv/a.pdf;Go"));
    RecordingCanvas canvas;
    link.Draw(canvas, DrawContext{});
    QString drawn;
    for (const CanvasCall& call : canvas.Texts())
        drawn += call.text;
    EXPECT_EQ(drawn, QStringLiteral("Go"));
}
