#include "revisionlist/widgets/DialogButtons.h"

#include "platform/widgets/Captions.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace {
constexpr int OkId = 103;
constexpr int CancelId = 18;
} // namespace

QHBoxLayout* NewOkCancelRow(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel)
{
    ok = new QPushButton(dialog);
    ok->setObjectName(QStringLiteral("Button1"));
    SetTag(ok, OkId);
    ok->setDefault(true);
    cancel = new QPushButton(dialog);
    cancel->setObjectName(QStringLiteral("Button2"));
    SetTag(cancel, CancelId);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}

