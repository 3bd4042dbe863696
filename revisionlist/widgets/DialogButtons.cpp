#include "revisionlist/widgets/DialogButtons.h"

#include "language/StringIds.h"
#include "platform/widgets/Captions.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* NewOkCancelRow(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel)
{
    ok = new QPushButton(dialog);
    ok->setObjectName(QStringLiteral("Button1"));
    SetTag(ok, StringId::Ok);
    ok->setDefault(true);
    cancel = new QPushButton(dialog);
    cancel->setObjectName(QStringLiteral("Button2"));
    SetTag(cancel, StringId::Cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}

