#include "installer/widgets/Setup3.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "installer/Uninstallation.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"

namespace Installer {

namespace {
constexpr int TextWidth = 480;
constexpr int TextHeight = 240;
} // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent)
{
    SetTag(this, StringId::UninstallCaption);
    FitOnScreenWhenShown(this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setMinimumSize(TextWidth, TextHeight);
    Memo1->setPlainText(MainLanguage.GetString(StringId::UninstallDescription));
    Button1 = new QPushButton(this);
    SetTag(Button1, StringId::Continue);
    Cancel = new QPushButton(this);
    SetTag(Cancel, StringId::Cancel);
    Cancel->setDefault(true);

    auto* panel = new QHBoxLayout;
    panel->addStretch(1);
    panel->addWidget(Button1);
    panel->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(panel);

    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm3::Button1Click()
{
    RemoveInstallation();
    accept();
}

} // namespace Installer
