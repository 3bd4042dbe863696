#include "revisionlist/widgets/RevisionFilter.h"

#include "language/StringIds.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "revisionlist/widgets/DialogButtons.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm13::TForm13(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm13"));
    SetTag(this, StringId::TextFilter);
    FitOnScreenWhenShown(this);
    setModal(true);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(MaxPatternLength);
    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    SetTag(CheckBox1, StringId::IgnoreCase);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addWidget(CheckBox1);
    layout->addLayout(NewOkCancelRow(this, Button1, Button2));
}

void TForm13::showEvent(QShowEvent* event)
{
    Edit1->clear();
    Edit1->setFocus();
    QDialog::showEvent(event);
}
