#pragma once
// The limits dialog: the lower and upper bound of a measure field's limit,
// each with its value, its action, its text and its colour.

#include "platform/Canvas.h"

#include <QDialog>

#include <array>

class ColorSwatch;
class MeasureLimit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TForm10 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm10(QWidget* parent = nullptr);

    // Fills the controls from a limit; without one the values are "0", no
    // action, no texts and white swatches. Nothing is reported as typed.
    void SetLimit(const MeasureLimit* limit);
    // The limit the controls describe; a value that is not a number is 0,
    // and a side without a checked action has action 0.
    MeasureLimit GetLimit() const;

    QGroupBox* GroupBox1; // minimum
    QLineEdit* Edit1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QLineEdit* Edit2;
    ColorSwatch* Panel1;
    QGroupBox* GroupBox2; // maximum
    QLineEdit* Edit3;
    QRadioButton* RadioButton5;
    QRadioButton* RadioButton6;
    QRadioButton* RadioButton7;
    QRadioButton* RadioButton8;
    QLineEdit* Edit4;
    ColorSwatch* Panel2;
    QPushButton* Button1;
    QPushButton* Button2;

public slots:
    void Panel1Click();
    void Panel2Click();
    // The user typed a bound's text: that bound shows it.
    void Edit2Change();
    void Edit4Change();

private:
    struct Bound
    {
        QLineEdit* value;
        std::array<QRadioButton*, 4> actions;
        QLineEdit* text;
        ColorSwatch* colour;
    };
    Bound MakeBound(QGroupBox* box);
    static void FillBound(const Bound& bound, double value, int32_t action, const QString& text, TColor colour);
    static int32_t CheckedAction(const Bound& bound);
    static double BoundValue(const Bound& bound);

    Bound m_min;
    Bound m_max;
};
