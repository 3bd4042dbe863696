#include "dataprocessing/widgets/InstrumentSetupDialog.h"

#include "documents/widgets/StyledTextDelegate.h"
#include "instruments/InstrumentTransferWindow.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/NumberText.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The dialog's size where the screen has room for it.
constexpr int PreferredWidth = 439;
constexpr int PreferredHeight = 451;
constexpr int RowHeight = 20;
constexpr int TabWidth = 200;
constexpr int SettingIndent = 40;
constexpr int GroupIndent = 20;
constexpr int EditorLeft = 240;
constexpr int ImageSide = 16;
constexpr int SettingRole = Qt::UserRole;

InstrumentSetupAbstract* RowObject(const QListWidgetItem* item)
{
    return item ? reinterpret_cast<InstrumentSetupAbstract*>(item->data(SettingRole).value<quintptr>()) : nullptr;
}

// The rows' styled text, each after its image: a group's at the row's left
// edge, a setting's one image further right, under its group's text.
class SettingsRowDelegate : public StyledTextDelegate
{
public:
    SettingsRowDelegate(const QListWidget* list, RowText rowText, int tabPosition)
        : StyledTextDelegate(std::move(rowText), tabPosition, const_cast<QListWidget*>(list))
        , m_list(list)
    {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        StyledTextDelegate::paint(painter, option, index);
        const InstrumentSetupAbstract* object = RowObject(m_list->item(index.row()));
        if (!object)
            return;
        const bool group = object->GetKind() == InstrumentSetupAbstract::KindGroup;
        const QIcon image = m_list->style()->standardIcon(
            group ? QStyle::SP_DirClosedIcon : QStyle::SP_FileDialogDetailedView);
        const QRect r = option.rect;
        const int left = r.left() + (group ? 0 : GroupIndent);
        const int side = std::min(ImageSide, r.height());
        image.paint(painter, QRect(left + (GroupIndent - side) / 2,
                                   r.top() + (r.height() - side) / 2, side, side));
    }

private:
    const QListWidget* m_list;
};

} // namespace

TForm12::TForm12(QWidget* parent) : QDialog(parent), m_setup(std::make_unique<InstrumentSetup>())
{
    setObjectName(QStringLiteral("TForm12"));
    SetTag(this, StringId::Setup);
    FitOnScreenWhenShown(this, QSize(PreferredWidth, PreferredHeight));
    auto* layout = new QVBoxLayout(this);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setItemDelegate(new SettingsRowDelegate(
        ListBox1,
        [this](const QModelIndex& index, StyledTextDelegate::Row& row) {
            const InstrumentSetupAbstract* object = RowObject(ListBox1->item(index.row()));
            if (!object)
                return false;
            // Taken from the object now, so an edited value shows at once.
            row.Text = object->GetText();
            row.Bold = object->GetKind() == InstrumentSetupAbstract::KindGroup;
            row.Indent = row.Bold ? GroupIndent : SettingIndent;
            return true;
        },
        TabWidth));
    ListBox1->viewport()->installEventFilter(this);
    layout->addWidget(ListBox1, 1);
    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("Default settings"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    SetTag(Button1, StringId::DefaultSettings);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    SetTag(Button2, StringId::Cancel);
    Button3 = new QPushButton(QStringLiteral("Setup"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    SetTag(Button3, StringId::SetupButton);
    buttons->addWidget(Button1);
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    Edit1 = new QLineEdit(ListBox1->viewport());
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->hide();
    Edit1->installEventFilter(this);
    ComboBox1 = new QComboBox(ListBox1->viewport());
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->hide();

    connect(Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm12::reject);
    connect(Button3, &QPushButton::clicked, this, &TForm12::Button3Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm12::ListBox1DblClick);
    connect(ComboBox1, &QComboBox::activated, this, &TForm12::ComboBox1Click);
    ApplyCaptions(this);
    Button3->setEnabled(false);
}

TForm12::~TForm12()
{
    reject();
}

int TForm12::Run(const QString& portName)
{
    m_portName = portName;
    return exec();
}

void TForm12::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    StartTransfer(InstrumentTransferWindowThread::ReadSetup, [this](TransferResult result) {
        m_haveSettings = result == TransferResult::Success;
        RebuildList();
    });
}

void TForm12::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    ListBox1->clear();
    m_setup->Clear();
    m_haveSettings = false;
    Edit1->hide();
    ComboBox1->hide();
}

void TForm12::SetBusy(bool busy)
{
    ListBox1->setEnabled(!busy);
    Button1->setEnabled(!busy);
    Button3->setEnabled(!busy && m_haveSettings);
}

void TForm12::StartTransfer(int operation, std::function<void(TransferResult)> done)
{
    if (m_thread)
        return;
    Edit1->hide();
    ComboBox1->hide();
    auto* thread = new InstrumentTransferWindowThread(m_portName);
    m_thread = thread;
    SetBusy(true);
    auto finish = [this, done = std::move(done)](TransferResult result) {
        m_thread = nullptr;
        done(result);
        SetBusy(false);
    };
    switch (operation) {
    case InstrumentTransferWindowThread::ReadSetup:
        thread->StartReadSetup(m_setup.get(), finish);
        break;
    case InstrumentTransferWindowThread::WriteSetup:
        thread->StartWriteSetup(m_setup.get(), finish);
        break;
    default:
        thread->StartDefaultSetup(m_setup.get(), finish);
        break;
    }
}

void TForm12::Button1Click()
{
    StartTransfer(InstrumentTransferWindowThread::DefaultSetup, [this](TransferResult result) {
        if (result == TransferResult::Success) {
            m_haveSettings = true;
            RebuildList();
        }
    });
}

void TForm12::Button3Click()
{
    if (!m_haveSettings)
        return;
    // A failed write leaves the dialog open with the settings as edited.
    StartTransfer(InstrumentTransferWindowThread::WriteSetup, [this](TransferResult result) {
        if (result == TransferResult::Success)
            accept();
    });
}

void TForm12::reject()
{
    // The worker hands its result to this dialog's description: stop it and
    // wait for its completion before the dialog may go.
    if (m_thread) {
        m_thread->Terminate();
        while (m_thread)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (isVisible())
        QDialog::reject();
}

void TForm12::RebuildList()
{
    ListBox1->clear();
    for (int g = 0; g < m_setup->GetCount(); ++g) {
        InstrumentSetupBank* group = m_setup->GetBank(g);
        auto addRow = [this](InstrumentSetupAbstract* object) {
            auto* row = new QListWidgetItem(object->GetText(), ListBox1);
            row->setData(SettingRole, QVariant::fromValue(quintptr(object)));
            row->setSizeHint(QSize(0, RowHeight));
        };
        addRow(group);
        for (int i = 0; i < group->GetCount(); ++i)
            addRow(group->GetItem(i));
    }
}

InstrumentSetupItem* TForm12::CurrentSetting() const
{
    InstrumentSetupAbstract* object = RowObject(ListBox1->currentItem());
    return object && object->GetKind() != InstrumentSetupAbstract::KindGroup ? static_cast<InstrumentSetupItem*>(object)
                                                                              : nullptr;
}

void TForm12::ListBox1DblClick()
{
    InstrumentSetupItem* setting = CurrentSetting();
    if (!setting || m_thread)
        return;
    const QRect row = ListBox1->visualItemRect(ListBox1->currentItem());
    if (setting->GetKind() == InstrumentSetupAbstract::KindNumber) {
        Edit1->setGeometry(EditorLeft, row.top(), row.width() - EditorLeft, row.height());
        Edit1->setText(FormatFloat(QStringLiteral("0.000"),
                                   static_cast<InstrumentSetupItemNumber*>(setting)->GetValue()));
        Edit1->show();
        Edit1->setFocus();
    } else {
        auto* choice = static_cast<InstrumentSetupItemChoice*>(setting);
        ComboBox1->clear();
        for (int i = 0; i < choice->GetOptionCount(); ++i)
            ComboBox1->addItem(choice->GetOption(i));
        ComboBox1->setCurrentIndex(choice->GetSelected());
        ComboBox1->setGeometry(EditorLeft, row.top(), row.width() - EditorLeft, row.height());
        ComboBox1->show();
        ComboBox1->setFocus();
    }
}

void TForm12::Edit1KeyDown(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    auto* setting = dynamic_cast<InstrumentSetupItemNumber*>(CurrentSetting());
    double value = 0;
    if (!TryStrToFloat(Edit1->text().trimmed(), value)) {
        Dialogs().Beep();
        Edit1->selectAll();
        return;
    }
    if (setting)
        setting->SetValue(static_cast<float>(value));
    Edit1->hide();
    ListBox1->viewport()->update();
}

void TForm12::ComboBox1Click(int index)
{
    if (auto* setting = dynamic_cast<InstrumentSetupItemChoice*>(CurrentSetting()))
        setting->SetSelected(index);
    ComboBox1->hide();
    ListBox1->viewport()->update();
}

bool TForm12::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        Edit1KeyDown(key);
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true; // not the dialog's default button
    } else if (watched == ListBox1->viewport() && event->type() == QEvent::MouseButtonPress) {
        Edit1->hide();
        ComboBox1->hide();
    }
    return QDialog::eventFilter(watched, event);
}
