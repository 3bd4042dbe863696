#pragma once
// The template designer window: one editable document laid out on a page
// canvas, with the file, edit, field, zoom, page and grid commands and the
// property panels on the right.

#include "designer/QuillfenDesignerForm.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class ColorSwatch;
class DesignerCanvas;
class BordersPreview;
class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QScrollArea;
class QToolBar;
class QToolButton;
class QWidget;
class TForm1;
class TForm4;
class TForm10;
class TTextSetup1;

// The windows the designer reaches; start-up connects them. Without a hook
// the command does nothing. (Settings are read from the settings dialog.)
struct DesignerHooks
{
    std::function<void()> ShowDataProcessing;
    std::function<void()> ShowRevisionList;
    // Prints the document through the print window.
    std::function<void(QuillfenForm& document)> Print;
};

class TForm2 : public QMainWindow
{
    Q_OBJECT

public:
    // Sides of the borders widget, as the popup menu sets them.
    enum Side { RightSide = 1, TopSide = 2, BottomSide = 3, LeftSide = 4 };
    static constexpr int QuantityItems = 48;

    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    void SetHooks(DesignerHooks hooks) { m_hooks = std::move(hooks); }
    // The revision list opens templates here: the save question first, then
    // the file is loaded as Open loads it.
    void OpenFile(const QString& path);
    // The save question; true when the window may close or drop its document.
    bool FormCloseQuery();
    // Captions of the lists that come from the language tables.
    void ApplyLanguage();

    QuillfenDesignerForm& GetDocument() { return *Document; }
    const QString& GetFileName() const { return FileName; }

    // --- Components --------------------------------------------------------
    QToolBar* ControlBar1;
    QScrollArea* ScrollBox1;
    DesignerCanvas* PaintBox1;
    QScrollArea* ScrollBox2;
    QLineEdit* Edit7;      // page number
    QComboBox* ComboBox4;  // zoom
    QComboBox* ComboBox6;  // grid
    QToolButton* SpeedButton16; // double grid
    QToolButton* SpeedButton17; // halve grid
    QToolButton* SpeedButton27; // group toggle
    std::array<QLineEdit*, 6> GeometryBoxes{}; // Edit1 .. Edit6
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    BordersPreview* PaintBox4;
    QMenu* PopupMenu1; // border widths
    QMenu* PopupMenu2; // page context menu
    ColorSwatch* Panel13;
    ColorSwatch* Panel14;
    QWidget* TextPanel;
    QComboBox* ComboBox1; // font
    QComboBox* ComboBox2; // size
    QComboBox* ComboBox5; // align
    QComboBox* ComboBox7; // text type
    QWidget* Panel3;      // global text
    QLineEdit* Edit9;
    QWidget* Panel11;     // measure
    QComboBox* ComboBox3; // format
    QToolButton* SpeedButton2; // limits
    QComboBox* ComboBox8; // decimal digits
    QListWidget* CheckListBox1;
    QWidget* Panel12;     // picture
    QToolButton* SpeedButton1; // load picture
    TForm1* NewPageDialog;
    TForm4* NewTableDialog;
    TForm10* LimitsDialog;
    TTextSetup1* TextSetup1;

    QAction* New4;
    QAction* New2;
    QAction* Open1;
    QAction* Save2;
    QAction* SaveAs1;
    QAction* ExportasXML1;
    QAction* Print1;
    QAction* Exit1;
    QAction* Cut1;
    QAction* Copy1;
    QAction* Paste1;
    QAction* Delete2;
    QAction* Group1;
    QAction* Ungroup1;
    QAction* SelectAll1;
    QAction* Table1;
    QAction* ToFront1;
    QAction* ToBack1;
    QAction* Zoomin1;
    QAction* Zoomout1;
    QAction* Wholepage1;
    QAction* First1;
    QAction* Previous1;
    QAction* Next1;
    QAction* Last1;
    QAction* New3;
    QAction* Delete1;
    QAction* Settings1;
    QAction* DataProcessing1; // Window menu and File panel
    QAction* RevisionList1;
    QAction* DeleteEditableText1;
    QAction* DeleteSelectedText1;

public slots:
    // The settings' "Show icon bar" of the designer.
    void ShowIconBar(bool visible);
    // File
    void New4Click();
    void New2Click();
    void Open1Click();
    bool Save2Click();
    void SaveAs1Click();
    void ExportasXML1Click();
    void Print1Click();
    void Settings1Click();
    // Edit
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void Delete2Click();
    void Group1Click();
    void Ungroup1Click();
    void SelectAll1Click();
    void SpeedButton27Click(bool pressed);
    void ToFront1Click();
    void ToBack1Click();
    void DeleteEditableText1Click();
    void DeleteSelectedText1Click();
    void ChangeToField(int code);
    // Fields
    void InsertField(FieldKind kind);
    void Table1Click();
    // Canvas, zoom, pages, grid
    void Zoomin1Click();
    void Zoomout1Click();
    void Wholepage1Click();
    void ComboBox4Click();
    void First1Click();
    void Previous1Click();
    void Next1Click();
    void Last1Click();
    void Edit7Enter();
    void New3Click();
    void Delete1Click();
    void SetGridStep(int32_t step);
    void ComboBox6Click();
    void ComboBox6Enter();
    void SpeedButton16Click();
    void SpeedButton17Click();
    // Property panels
    void Refresh();
    void GeometryEnter(int box);
    void BorderWidthClick(int width);
    void N0mmAll1Click();
    void Panel13Click();
    void Panel14Click();
    void ComboBox1Change();
    void ComboBox2Change();
    // A size typed into the box ("12 mm").
    void ComboBox2Enter();
    void ComboBox5Change();
    void ComboBox7Change();
    void Edit9Enter();
    void ComboBox3Change();
    void ComboBox8Change();
    void SpeedButton2Click();
    void CheckListBox1ClickCheck(QListWidgetItem* item);
    void SpeedButton1Click();

    // Called by the canvas.
    void PaintBox1MouseDown(QMouseEvent* event, bool doubleClick);
    void PaintBox1MouseMove(QMouseEvent* event);
    void PaintBox1MouseUp(QMouseEvent* event);
    void ScrollBox1Wheel(int delta);
    void BorderSideChosen(int side, const QPoint& globalPos);
    // Repaints the page, the borders preview and the page number box.
    void Repaint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;  // FormShow
    void hideEvent(QHideEvent* event) override;  // FormHide
    void keyPressEvent(QKeyEvent* event) override; // FormKeyDown

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildPanels();
    // A fresh document of the size, zoom 100, no file name.
    void NewDocument(int32_t width, int32_t height);
    void LoadFile(const QString& path);
    void SetCaption();
    void ApplyZoom(int32_t zoom);
    void GridChanged(int32_t step);
    // Marks the document modified and repaints after a panel edit.
    void Applied();
    void RefreshSymbols();
    // Sets the property area as wide as its widest panel.
    void FitPanels();
    void PanelsLanguage();
    QString KindTextAt(int32_t x, int32_t y) const;

    std::unique_ptr<QuillfenDesignerForm> Document;
    QString FileName;
    int BorderSide = TopSide;
    DesignerHooks m_hooks;
    // The page whose coordinates the status line shows.
    const void* m_statusPage = nullptr;
};
