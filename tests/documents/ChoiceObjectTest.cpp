#include <gtest/gtest.h>

#include "common/FieldRecords.h"
#include "common/RecordingCanvas.h"
#include "documents/ChoiceObject.h"

#include <climits>

namespace {

QString Shown(const QString& style, const QString& alternative)
{
    return QChar(27) + style + alternative;
}

const QString Normal(QChar(1));

} // namespace

TEST(ChoiceObjectTest, RecordHoldsIndexAndXmlDoesNot)
{
    ChoiceObject choice;
    choice.SetText(QStringLiteral("Yes;No;N/A"));
    choice.Activate();
    choice.Activate();
    ASSERT_EQ(choice.GetIndex(), 2);

    const QByteArray record = BaseRecord() + TextRecordTail("Yes;No;N/A") + QByteArray("\x01", 1) + Le32(2);
    EXPECT_EQ(SavedRecord(choice), record);
    EXPECT_EQ(WrittenXml(choice), DefaultBaseXml() + "<String>Yes;No;N/A</String>\n<Align>4</Align>\n"
                                                     "<Font>Arial</Font>\n<Size>40</Size>\n<Type>0</Type>\n");

    ChoiceObject loaded;
    qint64 left = -1;
    ASSERT_TRUE(LoadRecord(loaded, record + "rest", &left));
    EXPECT_EQ(left, 4);
    EXPECT_EQ(loaded.GetIndex(), 2);
    EXPECT_EQ(loaded.GetDisplayText(), Shown(Normal, QStringLiteral("N/A")));
    EXPECT_EQ(loaded.GetTypeCode(), FourCC("choi"));
    EXPECT_EQ(SavedRecord(loaded), record);

    // A record cut inside the choice part.
    ChoiceObject cut;
    bool damaged = false;
    EXPECT_FALSE(LoadRecord(cut, record.left(record.size() - 2), nullptr, &damaged));
    EXPECT_TRUE(damaged);
}

TEST(ChoiceObjectTest, ActivateCyclesThroughTheAlternatives)
{
    ChoiceObject choice;
    choice.SetText(QStringLiteral("A;B;C"));
    QStringList seen;
    for (int i = 0; i < 5; ++i) {
        seen << choice.GetDisplayText().mid(2);
        choice.Activate();
    }
    EXPECT_EQ(seen, QStringList({"A", "B", "C", "A", "B"}));

    choice.SetText(QStringLiteral("Only"));
    choice.Activate();
    EXPECT_EQ(choice.GetIndex(), 0);
    EXPECT_EQ(choice.GetDisplayText(), Shown(Normal, QStringLiteral("Only")));

    // An empty alternative is an alternative too.
    choice.SetText(QStringLiteral(";x;"));
    EXPECT_EQ(choice.CountAlternatives(), 3);
    choice.Activate();
    choice.Activate();
    EXPECT_EQ(choice.GetDisplayText(), Shown(Normal, QString()));
}

TEST(ChoiceObjectTest, DisplayCarriesTheStyleInForce)
{
    ChoiceObject choice;
    // Bold starts inside the first alternative and holds for the second;
    // the style word 59 is the code of ";" but separates nothing.
    const QString text = QStringLiteral("A") + QChar(27) + QChar(5) + QStringLiteral("x;B") + QChar(27)
                         + QChar(59) + QStringLiteral("y;C");
    choice.SetText(text);
    EXPECT_EQ(choice.GetDisplayText(), Shown(Normal, QStringLiteral("A") + QChar(27) + QChar(5) + "x"));
    EXPECT_EQ(choice.CountAlternatives(), 3);
    choice.Activate();
    EXPECT_EQ(choice.GetDisplayText(), Shown(QString(QChar(5)), QStringLiteral("B") + QChar(27) + QChar(59) + "y"));
    choice.Activate();
    EXPECT_EQ(choice.GetDisplayText(), Shown(QString(QChar(59)), QStringLiteral("C")));

    // An ESC without its style word at the very end.
    choice.SetText(QStringLiteral("A;") + QChar(27));
    choice.Activate();
    EXPECT_EQ(choice.GetDisplayText(), Shown(Normal, QString(QChar(27))));
    choice.SetText(QStringLiteral("A") + QChar(27));
    choice.Activate();
    EXPECT_EQ(choice.GetDisplayText(), Shown(Normal, QStringLiteral("A") + QChar(27)));
}

TEST(ChoiceObjectTest, IndexOutOfRangeFromAFile)
{
    for (int32_t index : {7, -3, INT_MAX, INT_MIN}) {
        ChoiceObject choice;
        const QByteArray record = BaseRecord() + TextRecordTail("A;B") + QByteArray("\x01", 1) + Le32(index);
        ASSERT_TRUE(LoadRecord(choice, record));
        EXPECT_EQ(choice.GetIndex(), index);
        // Past the end shows nothing, before the start the first alternative.
        EXPECT_EQ(choice.GetDisplayText(), Shown(Normal, index > 0 ? QString() : QStringLiteral("A"))) << index;
        // The next click starts again at the first alternative.
        choice.Activate();
        EXPECT_EQ(choice.GetIndex(), 0) << index;
    }
}

TEST(ChoiceObjectTest, CopiesSetTextAndTypeStartOver)
{
    ChoiceObject choice;
    choice.SetText(QStringLiteral("1;2;3"));
    choice.Activate();
    choice.Activate();

    const auto clone = choice.Clone();
    EXPECT_EQ(clone->GetTypeCode(), FourCC("choi"));
    EXPECT_EQ(clone->GetDisplayText(), Shown(Normal, QStringLiteral("1")));
    EXPECT_EQ(choice.GetIndex(), 2);

    // Each field's display text is its own value, whatever happens to others.
    const QString shown = choice.GetDisplayText();
    clone->Activate();
    const QString other = clone->GetDisplayText();
    EXPECT_EQ(shown, Shown(Normal, QStringLiteral("3")));
    EXPECT_EQ(other, Shown(Normal, QStringLiteral("2")));

    choice.SetText(QStringLiteral("1;2;3"));
    EXPECT_EQ(choice.GetIndex(), 0);

    choice.SetType(1);
    EXPECT_EQ(choice.GetType(), 0);
    EXPECT_FALSE(choice.IsFillable());
    EXPECT_EQ(choice.GetExtraFlag(), 0);
}

TEST(ChoiceObjectTest, DrawsOnlyTheShownAlternativeInItsStyle)
{
    ChoiceObject choice;
    choice.SetRect(0, 0, 402, 102);
    choice.SetAlign(0);
    choice.SetText(QStringLiteral("OK") + QChar(27) + QChar(5) + QStringLiteral(";NO"));
    choice.Activate();
    RecordingCanvas canvas;
    choice.Draw(canvas, DrawContext{});
    const QList<CanvasCall> texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0].text, QStringLiteral("N"));
    EXPECT_EQ(texts[1].text, QStringLiteral("O"));
    EXPECT_EQ(texts[0].x, 1);
    EXPECT_EQ(texts[1].x, 21);
    EXPECT_EQ(texts[0].font.Weight, 700) << "bold from the first alternative";
}
