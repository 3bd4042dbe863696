#pragma once
// The new table dialog: rows, columns, cell size, the border widths around
// and inside the table and the kind of field in every cell.

#include "designer/TableBuilder.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

class TForm4 : public QDialog
{
    Q_OBJECT

public:
    // Border lists hold "0 mm" ... "10 mm"; the item index is the width in
    // tenths of a millimetre.
    static constexpr int BorderItems = 11;
    static constexpr int DefaultTableBorder = 6;
    static constexpr int DefaultCellBorder = 2;
    static constexpr int TextCellItem = 6;

    explicit TForm4(QWidget* parent = nullptr);

    // Captions and the cell type list in the current language.
    void ApplyLanguage();

    // The accepted table (valid after OK).
    const TableShape& Shape() const { return m_shape; }

    QLineEdit* Edit1; // rows
    QLineEdit* Edit2; // columns
    QLineEdit* Edit3; // cell width, mm
    QLineEdit* Edit4; // cell height, mm
    QComboBox* ComboBox1; // table border
    QComboBox* ComboBox3; // cell border
    QComboBox* ComboBox2; // cell type
    QPushButton* Button1;
    QPushButton* Button2;

public slots:
    // Whole numbers of rows and columns up to MaxTableCells (none or fewer
    // build nothing), cell sizes above 0: the first box
    // that fails is refused and the dialog stays open.
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override; // FormShow

private:
    TableShape m_shape;
};
