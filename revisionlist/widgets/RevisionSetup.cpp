#include "revisionlist/widgets/RevisionSetup.h"

#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "revisionlist/RevisionList.h"
#include "revisionlist/widgets/DialogButtons.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The columns Name to Note 5 always stay in the list; Location and the
// user's columns can go.
constexpr int LastFixedColumn = 10;
constexpr int NewColumnWidth = 100;
constexpr int ColumnRole = Qt::UserRole + 1;
// The list's columns are never narrower than this, nor than their texts.
constexpr int MinimumColumnWidths[] = {200, 100};
} // namespace

TForm8::TForm8(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form8"));
    SetTag(this, StringId::RevisionListSetup);
    FitOnScreenWhenShown(this);
    setModal(true);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(2);
    ShowHeaderCaptions();
    ListView1->header()->setMinimumSectionSize(0);
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    ListView1->viewport()->installEventFilter(this);
    connect(ListView1, &QTreeWidget::itemChanged, this, &TForm8::ListView1Edited);

    const auto button = [this](const char* name, const QString& text, void (TForm8::*slot)()) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        connect(b, &QToolButton::clicked, this, slot);
        return b;
    };
    SpeedButton1 = button("SpeedButton1", QStringLiteral("\u2191"), &TForm8::SpeedButton1Click);
    SpeedButton2 = button("SpeedButton2", QStringLiteral("\u2193"), &TForm8::SpeedButton2Click);
    SpeedButton3 = button("SpeedButton3", QStringLiteral("+"), &TForm8::SpeedButton3Click);
    SpeedButton4 = button("SpeedButton4", QStringLiteral("\u2212"), &TForm8::SpeedButton4Click);

    auto* folderBox = new QGroupBox(this);
    SetTag(folderBox, StringId::BaseFolder);
    Edit1 = new QLineEdit(QDir::currentPath(), folderBox);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Button3 = new QPushButton(folderBox);
    Button3->setObjectName(QStringLiteral("Button3"));
    SetTag(Button3, StringId::Browse);
    connect(Button3, &QPushButton::clicked, this, &TForm8::Button3Click);
    CheckBox1 = new QCheckBox(folderBox);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    SetTag(CheckBox1, StringId::ScanSubfolders);
    CheckBox1->setChecked(true);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(Edit1, 1);
    folderRow->addWidget(Button3);
    auto* folderLayout = new QVBoxLayout(folderBox);
    folderLayout->addLayout(folderRow);
    folderLayout->addWidget(CheckBox1);

    auto* buttons = new QVBoxLayout;
    for (QToolButton* b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(ListView1, 1);
    listRow->addLayout(buttons);

    QHBoxLayout* okRow = NewOkCancelRow(this, Button1, Button2);
    disconnect(Button1, nullptr, this, nullptr);
    connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(listRow, 1);
    layout->addWidget(folderBox);
    layout->addLayout(okRow);
    ApplyCaptions(this);
}

TForm8::~TForm8() = default;

RevisionTableColumn* TForm8::ColumnOf(const QTreeWidgetItem* item)
{
    return item ? static_cast<RevisionTableColumn*>(item->data(0, ColumnRole).value<void*>()) : nullptr;
}

void TForm8::ShowItem(QTreeWidgetItem* item)
{
    const RevisionTableColumn* column = ColumnOf(item);
    const QSignalBlocker refreshing(ListView1);
    item->setText(0, column->GetCaption());
    item->setText(1, RevisionTableColumn::TypeName(column->GetType()));
}

QTreeWidgetItem* TForm8::AddItem(RevisionTableColumn* column, bool visible)
{
    const QSignalBlocker refreshing(ListView1);
    auto* item = new QTreeWidgetItem(ListView1);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
    item->setData(0, ColumnRole, QVariant::fromValue<void*>(column));
    item->setCheckState(0, visible ? Qt::Checked : Qt::Unchecked);
    ShowItem(item);
    return item;
}

void TForm8::Fill(RevisionList& list)
{
    m_added.clear();
    const QSignalBlocker refreshing(ListView1);
    ListView1->clear();
    const auto& visible = list.VisibleColumns();
    for (RevisionTableColumn* column : list.OrderedColumns())
        AddItem(column, std::find(visible.begin(), visible.end(), column) != visible.end());
    m_nextNumber = list.NextColumnNumber();
    FitColumns();
}

void TForm8::Apply(RevisionList& list)
{
    std::vector<RevisionTableColumn*> order;
    std::vector<RevisionTableColumn*> visible;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ListView1->topLevelItem(i);
        RevisionTableColumn* column = ColumnOf(item);
        const auto added = std::find_if(m_added.begin(), m_added.end(),
                                        [column](const auto& c) { return c.get() == column; });
        if (added != m_added.end()) {
            list.AdoptColumn(std::move(*added));
            m_added.erase(added);
        }
        order.push_back(column);
        if (item->checkState(0) == Qt::Checked)
            visible.push_back(column);
    }
    list.SetColumnOrder(order, visible);
    // Columns added and removed again in the dialog never reach the list.
    m_added.clear();
    ListView1->clear();
}

void TForm8::MoveSelected(int step)
{
    QTreeWidgetItem* item = ListView1->currentItem();
    if (!item)
        return;
    const int from = ListView1->indexOfTopLevelItem(item);
    const int to = from + step;
    if (to < 0 || to >= ListView1->topLevelItemCount())
        return;
    const QSignalBlocker refreshing(ListView1);
    ListView1->takeTopLevelItem(from);
    ListView1->insertTopLevelItem(to, item);
    ListView1->setCurrentItem(item);
}

void TForm8::SpeedButton1Click() { MoveSelected(-1); }

void TForm8::SpeedButton2Click() { MoveSelected(1); }

void TForm8::SpeedButton3Click()
{
    auto column = std::make_unique<RevisionTableColumn>(MainLanguage.GetString(StringId::NewColumn),
                                                        m_nextNumber++, RevisionTableColumn::Text,
                                                        NewColumnWidth);
    AddItem(column.get(), true);
    m_added.push_back(std::move(column));
}

void TForm8::SpeedButton4Click()
{
    QTreeWidgetItem* item = ListView1->currentItem();
    const RevisionTableColumn* column = ColumnOf(item);
    if (!column || column->GetNumber() <= LastFixedColumn)
        return;
    delete item;
}

void TForm8::ListView1MouseDown(QTreeWidgetItem* item)
{
    RevisionTableColumn* column = ColumnOf(item);
    if (!column)
        return;
    column->SetType(column->GetType() + 1);
    ShowItem(item);
}

void TForm8::ListView1Edited(QTreeWidgetItem* item, int index)
{
    RevisionTableColumn* column = ColumnOf(item);
    if (index != 0 || !column)
        return;
    // A check box toggled changes no caption; only typed text does.
    if (item->text(0) == column->GetCaption())
        return;
    column->SetCaption(item->text(0));
    ShowItem(item);
}

bool TForm8::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            ListView1MouseDown(ListView1->itemAt(mouse->position().toPoint()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm8::Button3Click()
{
    const QString folder = Dialogs().BrowseForFolder(QString(), Edit1->text());
    if (!folder.isEmpty())
        Edit1->setText(folder);
}

void TForm8::FitColumns()
{
    // Each column as wide as its caption and its texts, and the list wide
    // enough for all of them, so that no caption or type name is cut.
    QHeaderView* header = ListView1->header();
    int total = 2 * ListView1->frameWidth() + ListView1->verticalScrollBar()->sizeHint().width();
    for (int i = 0; i < ListView1->columnCount(); ++i) {
        const int width = std::max(
            {header->sectionSizeHint(i),
             static_cast<const QAbstractItemView*>(ListView1)->sizeHintForColumn(i),
             MinimumColumnWidths[std::min<size_t>(size_t(i), std::size(MinimumColumnWidths) - 1)]});
        header->resizeSection(i, width);
        total += width;
    }
    ListView1->setMinimumWidth(total);
}

void TForm8::ShowHeaderCaptions()
{
    ListView1->setHeaderLabels({MainLanguage.GetString(StringId::ColumnCaption),
                                MainLanguage.GetString(StringId::ColumnSortType)});
}

void TForm8::showEvent(QShowEvent* event)
{
    // In the language chosen since the dialog was made.
    ShowHeaderCaptions();
    FitColumns();
    QDialog::showEvent(event);
    m_shownFolder = Edit1->text();
    m_shownSubfolders = CheckBox1->isChecked();
}

void TForm8::Button1Click()
{
    const bool rescan = Edit1->text() != m_shownFolder || CheckBox1->isChecked() != m_shownSubfolders;
    done(rescan ? ResultYes : QDialog::Accepted);
}
