#include "designer/widgets/LimitSetup.h"

#include "designer/widgets/ColorSwatch.h"
#include "documents/MeasureLimit.h"
#include "language/StringIds.h"
#include "platform/NumberText.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace {
// The four actions' captions, in the order of their codes.
constexpr std::array<int, 4> ActionCaptions = {StringId::DontUse, StringId::ChangeTextColor,
                                               StringId::ChangeBackgroundColor, StringId::ShowText};
// The form's own start: the text colour changes, in red.
constexpr int32_t InitialAction = MeasureLimit::ChangeTextColor;
constexpr int SwatchSize = 24;
} // namespace

TForm10::TForm10(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm10"));
    SetTag(this, StringId::Limits);
    FitOnScreenWhenShown(this);
    auto* layout = new QGridLayout(this);
    GroupBox1 = new QGroupBox(this);
    GroupBox2 = new QGroupBox(this);
    SetTag(GroupBox1, StringId::Minimum);
    SetTag(GroupBox2, StringId::Maximum);
    m_min = MakeBound(GroupBox1);
    m_max = MakeBound(GroupBox2);
    Edit1 = m_min.value;
    RadioButton1 = m_min.actions[0];
    RadioButton2 = m_min.actions[1];
    RadioButton3 = m_min.actions[2];
    RadioButton4 = m_min.actions[3];
    Edit2 = m_min.text;
    Panel1 = m_min.colour;
    Edit3 = m_max.value;
    RadioButton5 = m_max.actions[0];
    RadioButton6 = m_max.actions[1];
    RadioButton7 = m_max.actions[2];
    RadioButton8 = m_max.actions[3];
    Edit4 = m_max.text;
    Panel2 = m_max.colour;
    Button1 = new QPushButton(this);
    Button2 = new QPushButton(this);
    SetTag(Button1, StringId::Ok);
    SetTag(Button2, StringId::Cancel);
    layout->addWidget(GroupBox1, 0, 0);
    layout->addWidget(GroupBox2, 0, 1);
    layout->addWidget(Button1, 1, 0);
    layout->addWidget(Button2, 1, 1);

    connect(Panel1, &ColorSwatch::clicked, this, &TForm10::Panel1Click);
    connect(Panel2, &ColorSwatch::clicked, this, &TForm10::Panel2Click);
    // Typing only: filling the boxes from a limit must not change its action.
    connect(Edit2, &QLineEdit::textEdited, this, &TForm10::Edit2Change);
    connect(Edit4, &QLineEdit::textEdited, this, &TForm10::Edit4Change);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    ApplyCaptions(this);
}

TForm10::Bound TForm10::MakeBound(QGroupBox* box)
{
    auto* layout = new QGridLayout(box);
    Bound bound;
    bound.value = new QLineEdit(box);
    layout->addWidget(bound.value, 0, 0, 1, 2);
    auto* group = new QButtonGroup(box);
    for (size_t i = 0; i < bound.actions.size(); ++i) {
        bound.actions[i] = new QRadioButton(box);
        SetTag(bound.actions[i], ActionCaptions[i]);
        group->addButton(bound.actions[i]);
        layout->addWidget(bound.actions[i], static_cast<int>(i) + 1, 0, 1, 2);
    }
    bound.actions[InitialAction]->setChecked(true);
    bound.text = new QLineEdit(box);
    bound.colour = new ColorSwatch(clRed, box);
    bound.colour->setFixedSize(SwatchSize, SwatchSize);
    layout->addWidget(bound.text, 5, 0);
    layout->addWidget(bound.colour, 5, 1);
    return bound;
}

void TForm10::Panel1Click()
{
    ChooseSwatchColor(*Panel1);
}

void TForm10::Panel2Click()
{
    ChooseSwatchColor(*Panel2);
}

void TForm10::Edit2Change()
{
    RadioButton4->setChecked(true);
}

void TForm10::Edit4Change()
{
    RadioButton8->setChecked(true);
}

void TForm10::FillBound(const Bound& bound, double value, int32_t action, const QString& text, TColor colour)
{
    bound.value->setText(FloatToStr(value));
    if (action >= 0 && action < static_cast<int32_t>(bound.actions.size()))
        bound.actions[static_cast<size_t>(action)]->setChecked(true);
    bound.text->setText(text);
    bound.colour->SetColor(colour);
}

void TForm10::SetLimit(const MeasureLimit* limit)
{
    if (!limit) {
        FillBound(m_min, 0, MeasureLimit::NoAction, QString(), clWhite);
        FillBound(m_max, 0, MeasureLimit::NoAction, QString(), clWhite);
        return;
    }
    FillBound(m_min, limit->GetMinimum(), limit->GetMinType(), limit->GetMinText(), limit->GetMinColor());
    FillBound(m_max, limit->GetMaximum(), limit->GetMaxType(), limit->GetMaxText(), limit->GetMaxColor());
}

int32_t TForm10::CheckedAction(const Bound& bound)
{
    for (size_t i = 0; i < bound.actions.size(); ++i)
        if (bound.actions[i]->isChecked())
            return static_cast<int32_t>(i);
    return MeasureLimit::NoAction;
}

double TForm10::BoundValue(const Bound& bound)
{
    double value = 0;
    return TryStrToFloat(bound.value->text(), value) ? value : 0;
}

MeasureLimit TForm10::GetLimit() const
{
    MeasureLimit limit;
    limit.SetMinimum(BoundValue(m_min));
    limit.SetMaximum(BoundValue(m_max));
    limit.SetMinType(CheckedAction(m_min));
    limit.SetMaxType(CheckedAction(m_max));
    limit.SetMinText(m_min.text->text());
    limit.SetMaxText(m_max.text->text());
    limit.SetMinColor(m_min.colour->Color());
    limit.SetMaxColor(m_max.colour->Color());
    return limit;
}
