#include "revisionlist/widgets/QuillfenSetup.h"

#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "revisionlist/widgets/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
TForm11* instance = nullptr;

QCheckBox* NewCheckBox(QWidget* parent, const char* name, int tag)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    SetTag(box, tag);
    box->setChecked(true);
    return box;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name, int tag)
{
    widget->setObjectName(QString::fromLatin1(name));
    SetTag(widget, tag);
    return widget;
}
} // namespace

TForm11::TForm11(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm11"));
    SetTag(this, StringId::ProgramSetup);
    FitOnScreenWhenShown(this);
    setModal(true);

    GroupBox1 = Named(new QGroupBox(this), "GroupBox1", StringId::TemplateDesigner);
    GroupBox2 = Named(new QGroupBox(this), "GroupBox2", StringId::RevisionList);
    GroupBox3 = Named(new QGroupBox(this), "GroupBox3", StringId::DataProcessing);
    CheckBox1 = NewCheckBox(GroupBox1, "CheckBox1", StringId::ShowFieldNumber);
    CheckBox2 = NewCheckBox(GroupBox2, "CheckBox2", StringId::EraseBlankCell);
    CheckBox3 = NewCheckBox(GroupBox1, "CheckBox3", StringId::ShowIconBar);
    CheckBox4 = NewCheckBox(GroupBox2, "CheckBox4", StringId::ShowIconBar);
    CheckBox5 = NewCheckBox(GroupBox3, "CheckBox5", StringId::ShowIconBar);
    CheckBox6 = NewCheckBox(GroupBox3, "CheckBox6", StringId::AutomaticFilling);
    CheckBox7 = NewCheckBox(GroupBox3, "CheckBox7", StringId::GroupSameNumberFolders);
    CheckBox8 = NewCheckBox(GroupBox3, "CheckBox8", StringId::CreateBackup);
    Label1 = Named(new QLabel(GroupBox1), "Label1", StringId::DefaultGrid);
    Edit1 = Named(new QLineEdit(GroupBox1), "Edit1", 0);
    Edit1->setText(ProgramSettings().grid);
    Label2 = Named(new QLabel(this), "Label2", StringId::LanguageCaption);
    ComboBox1 = Named(new QComboBox(this), "ComboBox1", 0);

    auto* designer = new QVBoxLayout(GroupBox1);
    designer->addWidget(CheckBox1);
    designer->addWidget(Label1);
    designer->addWidget(Edit1);
    designer->addWidget(CheckBox3);
    auto* revision = new QVBoxLayout(GroupBox2);
    revision->addWidget(CheckBox2);
    revision->addWidget(CheckBox4);
    auto* processing = new QVBoxLayout(GroupBox3);
    for (QCheckBox* box : {CheckBox5, CheckBox6, CheckBox7, CheckBox8})
        processing->addWidget(box);
    auto* language = new QHBoxLayout;
    language->addWidget(Label2);
    language->addWidget(ComboBox1, 1);
    QHBoxLayout* buttons = NewOkCancelRow(this, Button1, Button2);
    auto* layout = new QGridLayout(this);
    layout->addWidget(GroupBox2, 0, 0);
    layout->addWidget(GroupBox1, 0, 1);
    layout->addWidget(GroupBox3, 1, 0);
    layout->addLayout(language, 1, 1, Qt::AlignTop);
    layout->addLayout(buttons, 2, 0, 1, 2);

    // FormCreate: the language names, then the stored settings.
    for (int l : {Language::English, Language::Czech})
        ComboBox1->addItem(MainLanguage.GetLanguageName(l));
    ComboBox1->setCurrentIndex(-1);
    ShowSettings(ReadProgramSettings(Settings()));
    m_snapshot = Settings();

    connect(ComboBox1, &QComboBox::activated, this, &TForm11::ComboBox1Change);
    connect(this, &QDialog::finished, this, &TForm11::FormClose);
    if (!instance)
        instance = this;
    ApplyIconBars();
}

TForm11::~TForm11()
{
    WriteProgramSettings(Settings());
    if (instance == this)
        instance = nullptr;
}

TForm11* TForm11::Instance() { return instance; }

ProgramSettings TForm11::Settings() const
{
    ProgramSettings s;
    s.fieldNumber = CheckBox1->isChecked();
    s.eraseCell = CheckBox2->isChecked();
    s.grid = Edit1->text();
    s.showIcon1 = CheckBox3->isChecked();
    s.showIcon2 = CheckBox4->isChecked();
    s.showIcon3 = CheckBox5->isChecked();
    s.autoFill = CheckBox6->isChecked();
    s.groupFolder = CheckBox7->isChecked();
    s.backup = CheckBox8->isChecked();
    s.language = ComboBox1->currentIndex();
    return s;
}

void TForm11::ShowSettings(const ProgramSettings& s)
{
    CheckBox1->setChecked(s.fieldNumber);
    CheckBox2->setChecked(s.eraseCell);
    Edit1->setText(s.grid);
    CheckBox3->setChecked(s.showIcon1);
    CheckBox4->setChecked(s.showIcon2);
    CheckBox5->setChecked(s.showIcon3);
    CheckBox6->setChecked(s.autoFill);
    CheckBox7->setChecked(s.groupFolder);
    CheckBox8->setChecked(s.backup);
    ComboBox1->setCurrentIndex(s.language);
}

void TForm11::ApplyIconBars()
{
    emit RevisionListIconBarChanged(CheckBox4->isChecked());
    emit DesignerIconBarChanged(CheckBox3->isChecked());
    emit DataProcessingIconBarChanged(CheckBox5->isChecked());
}

void TForm11::showEvent(QShowEvent* event)
{
    m_snapshot = Settings();
    QDialog::showEvent(event);
}

void TForm11::Button2Click() { reject(); }

void TForm11::reject()
{
    // The language chosen meanwhile stays: it took effect at once.
    ProgramSettings restored = m_snapshot;
    restored.language = ComboBox1->currentIndex();
    ShowSettings(restored);
    QDialog::reject();
}

void TForm11::FormClose() { ApplyIconBars(); }

void TForm11::ComboBox1Change(int index)
{
    MainLanguage.SetLanguage(index);
    emit LanguageChanged();
}
