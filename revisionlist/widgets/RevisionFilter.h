#pragma once
// The text filter dialog: a pattern ('?' for any one character) that the
// records of a column must begin with, and whether case is ignored.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TForm13 : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxPatternLength = 100;

    explicit TForm13(QWidget* parent = nullptr);

    QLineEdit* Edit1;     // the pattern; emptied each time the dialog shows
    QCheckBox* CheckBox1; // "Ignore case"; kept between uses
    QPushButton* Button1; // OK
    QPushButton* Button2; // Cancel

protected:
    void showEvent(QShowEvent* event) override; // FormShow
};
