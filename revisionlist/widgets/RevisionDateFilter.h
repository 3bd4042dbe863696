#pragma once
// The date filter dialog: records older or newer than a date.

#include "platform/DateTime.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

class TForm15 : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxDateLength = 100;

    explicit TForm15(QWidget* parent = nullptr);

    // The date typed, parsed; a text that is no date is reported to the user
    // and gives false (no filter is applied then).
    bool ChosenDate(TDateTime& date) const;
    bool Older() const;

    QLineEdit* Edit1;         // the date; emptied each time the dialog shows
    QRadioButton* RadioButton1; // "Newer" (at start)
    QRadioButton* RadioButton2; // "Older"
    QPushButton* Button1;     // OK
    QPushButton* Button2;     // Cancel

public slots:
    // Leaving the date field: a text that is no date keeps the focus there.
    void Edit1Exit();

protected:
    void showEvent(QShowEvent* event) override; // FormShow
    bool eventFilter(QObject* watched, QEvent* event) override;
};
