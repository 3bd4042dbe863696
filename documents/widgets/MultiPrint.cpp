#include "documents/widgets/MultiPrint.h"

#include "documents/widgets/PrintForm.h"
#include "documents/widgets/Printers.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
struct ButtonCaption
{
    const char* name;
    int id;
};
constexpr ButtonCaption Captions[] = {
    {"Button1", StringId::AddFiles},
    {"Button2", StringId::Remove},
    {"Button3", StringId::PrintButton},
    {"Button4", StringId::PrintSetup},
    {"Button5", StringId::Close},
};
constexpr int ListWidth = 400;
constexpr int ListHeight = 250;
} // namespace

TForm6::TForm6(TForm5& printDialog, QWidget* parent) : QDialog(parent), m_printDialog(printDialog)
{
    setObjectName(QStringLiteral("TForm6"));
    SetTag(this, StringId::FilesToPrint);
    FitOnScreenWhenShown(this);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setMinimumSize(ListWidth, ListHeight);

    QPushButton* buttons[std::size(Captions)];
    auto* panel = new QVBoxLayout;
    for (size_t i = 0; i < std::size(Captions); ++i) {
        buttons[i] = new QPushButton(this);
        buttons[i]->setObjectName(QString::fromLatin1(Captions[i].name));
        buttons[i]->setAutoDefault(false);
        SetTag(buttons[i], Captions[i].id);
        panel->addWidget(buttons[i]);
    }
    panel->addStretch(1);
    Button1 = buttons[0];
    Button2 = buttons[1];
    Button3 = buttons[2];
    Button4 = buttons[3];
    Button5 = buttons[4];

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(panel);

    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm6::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm6::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm6::accept);
    ApplyLanguage();
}

TForm6::~TForm6() = default;

QStringList TForm6::Files() const
{
    QStringList files;
    for (int i = 0; i < ListBox1->count(); ++i)
        files << ListBox1->item(i)->text();
    return files;
}

void TForm6::ApplyLanguage()
{
    ApplyCaptions(this);
}

void TForm6::Button1Click()
{
    const QStringList chosen =
        Dialogs().GetOpenFileNames(MainLanguage.GetString(StringId::AddFiles), {}, {});
    for (const QString& path : chosen)
        if (ListBox1->findItems(path, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
            ListBox1->addItem(path);
}

void TForm6::Button2Click()
{
    for (int i = ListBox1->count() - 1; i >= 0; --i)
        if (ListBox1->item(i)->isSelected())
            delete ListBox1->takeItem(i);
}

void TForm6::Button3Click()
{
    m_printDialog.PrintFiles(Files());
}

void TForm6::Button4Click()
{
    Printers().ExecPrinterSetup(this);
}
