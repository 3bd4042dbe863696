#include "documents/widgets/TextSetup.h"

#include "documents/RtfParser.h"
#include "documents/StyledText.h"
#include "documents/widgets/RichEdit.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/DateTime.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The symbol list: Greek, Latin-1 supplement with Latin Extended-A, and the
// last six letters of Latin Extended-B's first block.
struct CodeRange
{
    int first;
    int last;
};
constexpr CodeRange SymbolRanges[] = {{900, 974}, {160, 383}, {506, 511}};

constexpr int SymbolItemHeight = 24;
constexpr char SymbolFace[] = "Arial";

// Draws each symbol item as its one character, the font as high as the item.
class SymbolDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        QFont font(QString::fromLatin1(SymbolFace));
        font.setPixelSize(option.rect.height());
        painter->setFont(font);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QChar symbol(static_cast<char16_t>(index.data().toString().toInt()));
        painter->drawText(option.rect, Qt::AlignHCenter | Qt::AlignTop, QString(symbol));
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {SymbolItemHeight, SymbolItemHeight};
    }
};

QToolButton* NewButton(QWidget* parent, const char* name, const QString& glyph, bool checkable = false)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(glyph);
    button->setCheckable(checkable);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TTextSetup1::TTextSetup1(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TTextSetup1"));
    SetTag(this, StringId::TextEdit);
    FitOnScreenWhenShown(this);
    setModal(true);

    RichEdit1 = new RichEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    SpeedButton1 = NewButton(this, "SpeedButton1", QStringLiteral("x²"), true);
    SpeedButton2 = NewButton(this, "SpeedButton2", QStringLiteral("x₂"), true);
    SpeedButton3 = NewButton(this, "SpeedButton3", QStringLiteral("B"), true);
    SpeedButton4 = NewButton(this, "SpeedButton4", QStringLiteral("I"), true);
    SpeedButton5 = NewButton(this, "SpeedButton5", QStringLiteral("µ"));
    SpeedButton6 = NewButton(this, "SpeedButton6", QStringLiteral("Ω"));
    SpeedButton7 = NewButton(this, "SpeedButton7", QStringLiteral("Δ"));
    SpeedButton12 = NewButton(this, "SpeedButton12", QStringLiteral("<"));
    SpeedButton13 = NewButton(this, "SpeedButton13", QStringLiteral(">"));
    SpeedButton8 = NewButton(this, "SpeedButton8", QStringLiteral("§…"), true);
    SpeedButton9 = NewButton(this, "SpeedButton9", QStringLiteral("1.1."));
    SpeedButton10 = NewButton(this, "SpeedButton10", QStringLiteral("0:00"));
    {
        QFont bold = SpeedButton3->font();
        bold.setBold(true);
        SpeedButton3->setFont(bold);
        QFont italic = SpeedButton4->font();
        italic.setItalic(true);
        SpeedButton4->setFont(italic);
    }

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setItemDelegate(new SymbolDelegate(ListBox1));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setFixedWidth(SymbolItemHeight * 3);
    for (const CodeRange& range : SymbolRanges)
        for (int code = range.first; code <= range.last; ++code)
            ListBox1->addItem(QString::number(code));
    ListBox1->hide();

    Button2 = new QPushButton(this);
    Button2->setObjectName(QStringLiteral("Button2"));
    SetTag(Button2, StringId::Ok);
    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    SetTag(Button1, StringId::Cancel);
    // Enter belongs to the editor: neither button is pressed by it.
    for (QPushButton* button : {Button1, Button2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* tools = new QHBoxLayout;
    for (QToolButton* button : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5,
                                SpeedButton6, SpeedButton7, SpeedButton12, SpeedButton13, SpeedButton8,
                                SpeedButton9, SpeedButton10})
        tools->addWidget(button);
    tools->addStretch(1);
    auto* editing = new QHBoxLayout;
    editing->addWidget(RichEdit1, 1);
    editing->addWidget(ListBox1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addLayout(editing, 1);
    layout->addLayout(buttons);

    connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, &TTextSetup1::RichEdit1SelectionChange);
    connect(RichEdit1, &QTextEdit::selectionChanged, this, &TTextSetup1::RichEdit1SelectionChange);
    connect(SpeedButton1, &QToolButton::clicked, this, &TTextSetup1::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TTextSetup1::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TTextSetup1::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TTextSetup1::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { InsertCharacter(u'\u03BC'); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { InsertCharacter(u'\u03A9'); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { InsertCharacter(u'\u0394'); });
    connect(SpeedButton12, &QToolButton::clicked, this, [this] { RichEdit1->InsertText(QStringLiteral("<")); });
    connect(SpeedButton13, &QToolButton::clicked, this, [this] { RichEdit1->InsertText(QStringLiteral(">")); });
    connect(SpeedButton8, &QToolButton::clicked, this, &TTextSetup1::SpeedButton8Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &TTextSetup1::SpeedButton9Click);
    connect(SpeedButton10, &QToolButton::clicked, this, &TTextSetup1::SpeedButton10Click);
    connect(ListBox1, &QListWidget::clicked, this, &TTextSetup1::ListBox1Click);
    connect(ListBox1, &QListWidget::doubleClicked, this, &TTextSetup1::ListBox1DblClick);
    connect(Button2, &QPushButton::clicked, this, &TTextSetup1::accept);
    connect(Button1, &QPushButton::clicked, this, &TTextSetup1::reject);

    ApplyLanguage();
}

TTextSetup1::~TTextSetup1() = default;

void TTextSetup1::SetStyledText(const QString& text)
{
    RichEdit1->SetRtf(RtfParser::ToRtf(text));
}

QString TTextSetup1::GetStyledText() const
{
    RtfParser parser;
    return parser.Parse(RichEdit1->GetRtf());
}

void TTextSetup1::ApplyLanguage()
{
    ApplyCaptions(this);
}

void TTextSetup1::accept()
{
    if (GetStyledText().size() > RtfParser::MaxStyledLength) {
        // The user shortens the text; nothing of it is cut silently.
        Dialogs().MessageBox(MainLanguage.GetString(StringId::TextTooLong), windowTitle(),
                             MsgButtons::Ok, MsgIcon::Warning);
        RichEdit1->setFocus();
        return;
    }
    QDialog::accept();
}

void TTextSetup1::RichEdit1SelectionChange()
{
    const int style = RichEdit1->SelectionStyle();
    SpeedButton1->setChecked((style & 3) == Style::Superscript);
    SpeedButton2->setChecked((style & 3) == Style::Subscript);
    SpeedButton3->setChecked((style & Style::Bold) != 0);
    SpeedButton4->setChecked((style & Style::Italic) != 0);
}

void TTextSetup1::TogglePosition(int position)
{
    const bool isSet = (RichEdit1->SelectionStyle() & 3) == position;
    RichEdit1->SetSelectionPosition(isSet ? Style::Normal : position);
    RichEdit1SelectionChange();
}

void TTextSetup1::ToggleEffect(int effect)
{
    RichEdit1->SetSelectionEffect(effect, (RichEdit1->SelectionStyle() & effect) == 0);
    RichEdit1SelectionChange();
}

void TTextSetup1::SpeedButton1Click()
{
    TogglePosition(Style::Superscript);
}

void TTextSetup1::SpeedButton2Click()
{
    TogglePosition(Style::Subscript);
}

void TTextSetup1::SpeedButton3Click()
{
    ToggleEffect(Style::Bold);
}

void TTextSetup1::SpeedButton4Click()
{
    ToggleEffect(Style::Italic);
}

void TTextSetup1::SpeedButton8Click()
{
    ListBox1->setVisible(SpeedButton8->isChecked());
}

void TTextSetup1::SpeedButton9Click()
{
    RichEdit1->InsertText(DateToStr(Date()));
}

void TTextSetup1::SpeedButton10Click()
{
    RichEdit1->InsertText(TimeToStr(Now()));
}

void TTextSetup1::ListBox1Click()
{
    RichEdit1->setFocus();
}

void TTextSetup1::ListBox1DblClick(const QModelIndex& index)
{
    if (index.isValid())
        InsertCharacter(static_cast<char16_t>(index.data().toString().toInt()));
    RichEdit1->setFocus();
}

void TTextSetup1::InsertCharacter(char16_t unit)
{
    RichEdit1->InsertText(QString(QChar(unit)));
}

void TTextSetup1::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    RichEdit1->setFocus();
}

void TTextSetup1::hideEvent(QHideEvent* event)
{
    for (QToolButton* button : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4})
        button->setChecked(false);
    QDialog::hideEvent(event);
}
