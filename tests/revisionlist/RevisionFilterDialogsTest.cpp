// The two filter dialogs as the revision list uses them: what they keep
// between uses, and a date that does not parse.

#include "common/FakeDialogs.h"
#include "revisionlist/widgets/RevisionDateFilter.h"
#include "revisionlist/widgets/RevisionFilter.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

TEST(RevisionFilterDialogs, TextFilterEmptiesThePatternAndKeepsIgnoreCase)
{
    TForm13 form;
    QTimer::singleShot(0, &form, [&form] {
        QTest::keyClicks(form.Edit1, QString(120, u'a'));
        form.CheckBox1->setChecked(true);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_EQ(form.Edit1->text().size(), TForm13::MaxPatternLength);

    QTimer::singleShot(0, &form, [&form] {
        EXPECT_TRUE(form.Edit1->text().isEmpty());
        EXPECT_TRUE(form.CheckBox1->isChecked());
        QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    EXPECT_EQ(form.exec(), QDialog::Rejected);
}

TEST(RevisionFilterDialogs, DateFilterReportsATextThatIsNoDate)
{
    FakeDialogs dialogs;
    TForm15 form;
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_FALSE(form.Older());
    QTimer::singleShot(0, &form, [&form] {
        QTest::keyClicks(form.Edit1, "2/30/2025");
        form.RadioButton2->setChecked(true);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    TDateTime date = 0;
    EXPECT_FALSE(form.ChosenDate(date));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains("2/30/2025"));

    QTimer::singleShot(0, &form, [&form] {
        EXPECT_TRUE(form.Edit1->text().isEmpty());
        QTest::keyClicks(form.Edit1, "2/14/2025 10:30");
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    ASSERT_TRUE(form.ChosenDate(date));
    TDateTime expected = 0;
    ASSERT_TRUE(TryStrToDateTime("2/14/2025 10:30", expected));
    EXPECT_EQ(date, expected);
    EXPECT_TRUE(form.Older());
}
