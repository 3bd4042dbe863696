#pragma once
// The revision list setup dialog: the columns' order, visibility, captions
// and sort types, added and removed columns, and the scan's base folder and
// subfolder choice.
//
// Type and caption changes act on the columns at once, as the user makes
// them; the order, visibility, added and removed columns reach the list only
// through Apply after OK. Columns added here belong to the dialog until then.

#include <QDialog>

#include <memory>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class RevisionList;
class RevisionTableColumn;

class TForm8 : public QDialog
{
    Q_OBJECT

public:
    // The result that asks for a new scan: OK with a changed folder or
    // subfolder choice.
    static constexpr int ResultYes = 6;

    explicit TForm8(QWidget* parent = nullptr); // FormCreate

    ~TForm8() override;

    // One item per column of the list's order; new columns take numbers
    // after the list's highest.
    void Fill(RevisionList& list);
    // Puts the dialog's order, visibility and added columns into the list
    // and frees the columns removed here (their fields are emptied in every
    // record; no other column changes its number).
    void Apply(RevisionList& list);

    QTreeWidget* ListView1;
    QToolButton* SpeedButton1; // up
    QToolButton* SpeedButton2; // down
    QToolButton* SpeedButton3; // add
    QToolButton* SpeedButton4; // delete
    QLineEdit* Edit1;          // base folder
    QPushButton* Button3;      // Browse
    QCheckBox* CheckBox1;      // Scan subfolders
    QPushButton* Button1;      // OK
    QPushButton* Button2;      // Cancel

public slots:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void Button1Click();
    void Button3Click();
    // A right click on an item steps its column's sort type.
    void ListView1MouseDown(QTreeWidgetItem* item);
    void ListView1Edited(QTreeWidgetItem* item, int column);

protected:
    void showEvent(QShowEvent* event) override; // FormShow
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static RevisionTableColumn* ColumnOf(const QTreeWidgetItem* item);
    QTreeWidgetItem* AddItem(RevisionTableColumn* column, bool visible);
    void ShowItem(QTreeWidgetItem* item);
    void FitColumns();
    void ShowHeaderCaptions();
    void MoveSelected(int step);

    std::vector<std::unique_ptr<RevisionTableColumn>> m_added;
    int m_nextNumber = 0;
    QString m_shownFolder;
    bool m_shownSubfolders = true;
};
