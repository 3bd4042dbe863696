#include "documents/RtfParser.h"
#include "documents/StyledText.h"
#include "documents/widgets/RichEdit.h"
#include "documents/widgets/TextSetup.h"
#include "platform/DateTime.h"

#include "common/FakeDialogs.h"
#include "common/ScopedGuards.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

namespace {

// Styled text written readably: '^' stands for ESC.
QString Styled(const char16_t* text)
{
    QString s = QString::fromUtf16(text);
    s.replace(u'^', QChar(27));
    return s;
}

void Select(RichEdit* edit, int from, int to)
{
    QTextCursor cursor(edit->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

int StyleAt(RichEdit* edit, int position)
{
    QTextCursor cursor(edit->document());
    cursor.setPosition(position + 1); // the format of the character before
    return RichEdit::StyleOf(cursor.charFormat());
}

TEST(RichEdit, TakesAndGivesTheProgramsRtf)
{
    RichEdit edit;
    edit.SetRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 Arial;}{\\f1\\fnil\\fcharset161 Arial;}}"
                "\\pard\\b\\f0 A\\'e8\\b0\\i\\sub x\\par\\plain\\super\\f1\\'d9\\par\\par}");
    EXPECT_EQ(edit.toPlainText(), QString::fromUtf16(u"Ačx\nΩ\n"));
    EXPECT_EQ(StyleAt(&edit, 0), 1 | 4);
    EXPECT_EQ(StyleAt(&edit, 1), 1 | 4);
    EXPECT_EQ(StyleAt(&edit, 2), 2 | 8);
    EXPECT_EQ(StyleAt(&edit, 4), 3);

    // Out again: the header, switches before the runs that need them, a
    // paragraph mark after every paragraph.
    const QByteArray header = RtfParser::ToRtf(u"").chopped(5);
    EXPECT_EQ(edit.GetRtf(), header + "\\plain \\b A\\f1\\'e8\\plain \\sub \\i x\\par \\plain \\super "
                                      "\\f2\\'d9\\par \\par }");
    EXPECT_EQ(RtfParser().Parse(edit.GetRtf()), Styled(u"^\x05" u"A\u010D^\x0a" u"x\n^\x03\u03A9\n"));

    // Line breaks typed with Shift+Enter are paragraph ends to the styled text.
    edit.SetRtf(RtfParser::ToRtf(u"a"));
    edit.moveCursor(QTextCursor::End);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&edit, "b");
    EXPECT_EQ(RtfParser().Parse(edit.GetRtf()), u"a\nb");
}

class TextSetupTest : public ::testing::Test
{
protected:
    FakeDialogs dialogs;
    TTextSetup1 dialog;
};

TEST_F(TextSetupTest, EditsAStyledTextWithTheButtons)
{
    const ScopedClock clock(QDateTime(QDate(2026, 12, 9), QTime(17, 5, 0)));
    dialog.SetStyledText(Styled(u"R^\x02" u"PE^\x01" u" = Ω"));
    dialog.show();
    RichEdit* edit = dialog.RichEdit1;
    EXPECT_EQ(edit->toPlainText(), u"RPE = Ω");

    // "PE" is subscript; superscript makes it superscript only, and back.
    Select(edit, 1, 3);
    EXPECT_TRUE(dialog.SpeedButton2->isChecked());
    dialog.SpeedButton1->click();
    EXPECT_TRUE(dialog.SpeedButton1->isChecked());
    EXPECT_FALSE(dialog.SpeedButton2->isChecked());
    EXPECT_EQ(StyleAt(edit, 1), Style::Superscript);
    dialog.SpeedButton2->click();
    EXPECT_EQ(StyleAt(edit, 2), Style::Subscript);

    // Bold over a run of mixed styles, then italic off again.
    Select(edit, 0, 4);
    EXPECT_FALSE(dialog.SpeedButton2->isChecked()); // not all of it is subscript
    dialog.SpeedButton3->click();
    dialog.SpeedButton4->click();
    dialog.SpeedButton4->click();
    EXPECT_TRUE(dialog.SpeedButton3->isChecked());
    EXPECT_FALSE(dialog.SpeedButton4->isChecked());

    // Symbols replace the selection; the list's first item is U+0384.
    Select(edit, 7, 7);
    dialog.SpeedButton7->click();
    dialog.SpeedButton13->click();
    dialog.SpeedButton9->click();
    dialog.SpeedButton8->click();
    ASSERT_TRUE(dialog.ListBox1->isVisible());
    QCoreApplication::processEvents(); // lays the list out
    ASSERT_EQ(dialog.ListBox1->count(), TTextSetup1::SymbolCount);
    EXPECT_EQ(dialog.ListBox1->item(TTextSetup1::SymbolCount - 1)->text(), u"511");
    const QRect first = dialog.ListBox1->visualItemRect(dialog.ListBox1->item(0));
    // A widget's double click arrives after the first click's press and release.
    QTest::mouseClick(dialog.ListBox1->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(dialog.ListBox1->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(dialog.focusWidget(), edit);
    dialog.SpeedButton8->click();
    EXPECT_FALSE(dialog.ListBox1->isVisible());

    EXPECT_EQ(dialog.GetStyledText(),
              Styled(u"^\x05" u"R^\x06" u"PE^\x05" u" ^\x01" u"= ΩΔ>") + DateToStr(Date()) + QChar(0x0384));

    // Enter breaks the line; it presses neither button.
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.GetStyledText().endsWith(u"\u0384\n"));
}

TEST_F(TextSetupTest, HidingPutsTheStyleButtonsUp)
{
    dialog.SetStyledText(Styled(u"^\x0d" u"bold italic"));
    dialog.show();
    Select(dialog.RichEdit1, 2, 4);
    ASSERT_TRUE(dialog.SpeedButton3->isChecked());
    ASSERT_TRUE(dialog.SpeedButton4->isChecked());
    dialog.hide();
    dialog.show();
    for (QToolButton* button : {dialog.SpeedButton1, dialog.SpeedButton2, dialog.SpeedButton3, dialog.SpeedButton4})
        EXPECT_FALSE(button->isChecked()) << button->objectName().toStdString();
}

TEST_F(TextSetupTest, OkRefusesATextLongerThanAFieldTakes)
{
    const QString tooLong(RtfParser::MaxStyledLength + 1, u'x');
    dialog.SetStyledText(tooLong);
    dialog.show();
    dialog.Button2->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.GetStyledText(), tooLong); // nothing was cut

    dialog.RichEdit1->moveCursor(QTextCursor::End);
    dialog.RichEdit1->textCursor().deletePreviousChar();
    dialog.Button2->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetStyledText().size(), RtfParser::MaxStyledLength);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

} // namespace
