#include "installer/widgets/Setup2.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "installer/AgreementText.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"

namespace Installer {

namespace {
constexpr int TextWidth = 520;
constexpr int TextHeight = 360;
} // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent)
{
    // No Tag: the window takes the language's own name as its caption.
    FitOnScreenWhenShown(this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setMinimumSize(TextWidth, TextHeight);
    Button1 = new QPushButton(this);
    SetTag(Button1, StringId::Agree);
    Button2 = new QPushButton(this);
    SetTag(Button2, StringId::Disagree);
    ComboBox1 = new QComboBox(this);

    auto* panel = new QHBoxLayout;
    panel->addWidget(ComboBox1);
    panel->addStretch(1);
    panel->addWidget(Button1);
    panel->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(panel);

    // FormCreate: the language names up to the first empty one.
    for (int language = 0;; ++language) {
        const QString name = MainLanguage.GetLanguageName(language);
        if (name.isEmpty())
            break;
        ComboBox1->addItem(name);
    }
    SelectCurrentLanguage();

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ComboBox1, &QComboBox::activated, this, &TForm2::ComboBox1Change);
}

void TForm2::SelectCurrentLanguage()
{
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->setCurrentIndex(MainLanguage.GetLanguage());
}

void TForm2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Memo1->setPlainText(AgreementText(Language::Czech));
}

void TForm2::ComboBox1Change(int index)
{
    MainLanguage.SetLanguage(index);
    SelectCurrentLanguage();
    emit LanguageChanged();
    Memo1->setPlainText(AgreementText(index == Language::Czech ? Language::Czech : Language::English));
}

} // namespace Installer
