#include "revisionlist/widgets/RevisionDateFilter.h"

#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "revisionlist/widgets/DialogButtons.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

TForm15::TForm15(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm15"));
    SetTag(this, StringId::DateFilter);
    FitOnScreenWhenShown(this);
    setModal(true);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(MaxDateLength);
    Edit1->installEventFilter(this);
    RadioButton1 = new QRadioButton(this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    SetTag(RadioButton1, StringId::Newer);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    SetTag(RadioButton2, StringId::Older);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addWidget(RadioButton1);
    layout->addWidget(RadioButton2);
    layout->addLayout(NewOkCancelRow(this, Button1, Button2));
}

bool TForm15::ChosenDate(TDateTime& date) const
{
    if (TryStrToDateTime(Edit1->text(), date))
        return true;
    Dialogs().MessageBox(MainLanguage.GetString(StringId::NotADate).arg(Edit1->text()),
                         MainLanguage.GetString(StringId::Error), MsgButtons::Ok, MsgIcon::Error);
    return false;
}

bool TForm15::Older() const { return RadioButton2->isChecked(); }

void TForm15::Edit1Exit()
{
    TDateTime date = 0;
    if (!Edit1->text().isEmpty() && !TryStrToDateTime(Edit1->text(), date))
        QTimer::singleShot(0, Edit1, [edit = Edit1] { edit->setFocus(); });
}

bool TForm15::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::FocusOut)
        Edit1Exit();
    return QDialog::eventFilter(watched, event);
}

void TForm15::showEvent(QShowEvent* event)
{
    Edit1->clear();
    Edit1->setFocus();
    QDialog::showEvent(event);
}
