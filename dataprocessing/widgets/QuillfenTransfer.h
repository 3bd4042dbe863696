#pragma once
// The data processing window: transfers from instruments, the data tree, the
// filled form on its canvas, and the file commands. The window only turns
// events into calls on its TransferDocument; every rule lives there.

#include "dataprocessing/TransferDocument.h"
#include "instruments/InstrumentTransferWindow.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QDrag;
class QFileSystemWatcher;
class QLineEdit;
class QMenu;
class QScrollArea;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TPaintBox;


class TForm3 : public QMainWindow
{
    Q_OBJECT

public:
    // What the window reaches in other windows. Start-up connects them; a
    // hook left empty does nothing (a setting reads as unchecked).
    struct Hooks
    {
        // Check boxes of the settings dialog.
        std::function<bool()> AutoFill;
        std::function<bool()> Backup;
        std::function<bool()> GroupSameNumber;
        // The revision list: its records (not owned), its upload button and
        // whether its upload is running.
        const RecordLookup* Records = nullptr;
        std::function<void(bool enabled)> EnableUpload;
        std::function<bool()> UploadRunning;
        // The "Window" menu and the settings dialog.
        std::function<void()> ShowDesigner;
        std::function<void()> ShowRevisionList;
        std::function<void()> ShowSettings;
        // The print dialog and the multi-document print window (empty: the program's).
        std::function<void(QuillfenTransferForm& form)> Print;
        std::function<void()> MultiPrint;
        // The text edit dialog: edits `text` in place, true on OK (empty:
        // the program's text edit dialog).
        std::function<bool(QString& text)> EditText;
        // The barcode wizard, shown modally on the sheet's entries with the
        // sheet's label template; on OK the layout, and the template holds
        // the label the user chose in the wizard.
        std::function<std::optional<LabelSheetLayout>(QuillfenTransferForm& form, std::vector<LabelNumber>& numbers,
                                                      std::unique_ptr<AbstractFormObject>& labelTemplate)>
            BarcodeWizard;
        // Runs a drag of the tree or the canvas until its drop or cancel and
        // returns its action (empty: the window system's drag).
        std::function<Qt::DropAction(QDrag& drag)> ExecDrag;
    };

    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    void SetHooks(Hooks hooks);
    TransferDocument& Document() { return *m_document; }
    QuillfenTransferForm& Form() { return m_document->Form(); }

    // Lists the ports not listed yet that can be opened now, after those
    // already listed, and selects the stored port again.
    void ProbePorts();
    void RebuildDataTree();
    // Captions, the window title and the tree's roots in the current language.
    void ApplyLanguage();
    // False when the user cancelled the name or the file could not be written.
    bool SaveDocument();
    void LoadDocument(const QString& path);
    // Opening from the revision list: the close query, then the page shown.
    void OpenFile(const QString& path, int page);
    // True when the window may drop its document.
    bool FormCloseQuery();
    bool IsTransferRunning() const { return m_transferRunning; }
    // A transfer of this window runs or its instrument settings dialog is open.
    bool UsesInstrument() const { return m_transferRunning || m_setupOpen; }
    // One transfer at a time on the instrument: every command that starts
    // one, the upload's too, is enabled only while none runs anywhere.
    void UpdateTransferCommands();

    // Components.
    QTreeWidget* TreeView1;
    QComboBox* ComboBox2; // ports
    QComboBox* ComboBox4; // zoom
    QLineEdit* Edit1;     // page number
    QLineEdit* Edit7;     // Find ID
    QScrollArea* ScrollBox1 = nullptr; // events reach the window before it is made
    QWidget* Panel3;
    TPaintBox* PaintBox1;
    QMenu* PopupMenu1; // the canvas's "Remove data" menu

    QAction *New1, *Open1, *Append1, *Save1, *SaveAs1, *ExportasXML1, *Opendata1, *SaveDataAs1, *Appenddata1,
        *Print1, *MultiformPrint1, *Exit1;
    QAction *Transfer1, *Setup1, *TransferdatafromKx31011, *Info1;
    QAction *Zoomin1, *Zoomout1, *Wholepage1;
    QAction *First1, *Previous1, *Next1, *Last1, *Delete1;
    QAction *Barcode1, *Settings1, *Templatedesigner1, *Revisionlist1;
    QAction *Name1, *Unit1, *Note1, *Itemnumber1, *Deletealldata1, *Sort1, *Fill1;
    QAction *Removedatafromfield1, *Removedatafromgroup1, *Removedatafrompage1, *FindId1;

public slots:
    void New1Click();
    void Open1Click();
    void Append1Click();
    void Save1Click();
    void SaveAs1Click();
    void ExportasXML1Click();
    void Opendata1Click();
    void SaveDataAs1Click();
    void Appenddata1Click();
    void Exit1Click();
    void Transfer1Click();
    void Setup1Click();
    void TransferdatafromKx31011Click();
    void Info1Click();
    void Zoomin1Click();
    void Zoomout1Click();
    void Wholepage1Click();
    void First1Click();
    void Previous1Click();
    void Next1Click();
    void Last1Click();
    void Delete1Click();
    void Barcode1Click();
    void ComboBox2Change();
    // A device appeared or went: the ports are probed again shortly after.
    void DevicesChanged();
    void ComboBox4Change();
    void Edit1Enter();
    void FindIdClick();
    void Deletealldata1Click();
    void Sort1Click();
    void Fill1Click();
    void Removedatafromfield1Click();
    void Removedatafromgroup1Click();
    void Removedatafrompage1Click();

    // The tree and the canvas; points in canvas pixels.
    void TreeView1MouseDown(QTreeWidgetItem* item);
    void TreeView1KeyDown(int key);
    void PaintBox1MouseDown(Qt::MouseButton button, QPoint point, bool doubleClick);
    void PaintBox1MouseUp();
    bool PaintBox1DragOver(QPoint point) const;
    void PaintBox1DragDrop(QPoint point);
    // The value a drag carries, null when none.
    const InstrumentAbstract* DraggedValue() const { return m_dragged.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;       // FormHide
    void keyPressEvent(QKeyEvent* event) override;    // page keys and FormKeyPress
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TPaintBox;

    void BuildMenus();
    void WatchDevices();
    void SetCaption();
    void Repaint();
    void ShowPage(int index);
    void SetZoom(int32_t zoom);
    // Shows the outcome of a file command; true when it succeeded.
    bool Report(const FileOutcome& outcome);
    int Ask(int textId, bool withCancel);
    QString OpenDialog();
    bool InstrumentBusy() const;
    void StartDrag(QWidget* source);
    // The value a press picked up is dropped or given up: nothing carries it
    // over to a later drag.
    void ForgetDrag();
    int DisplayFlags() const;
    void FillRecordHook();

    Hooks m_hooks;
    std::unique_ptr<TransferDocument> m_document;
    std::unique_ptr<InstrumentAbstract> m_dragged;
    AbstractFormObject* m_dragSource = nullptr;
    QPoint m_dragStart;
    QPoint m_popupPoint;
    DemonstrationKeys m_demoKeys;
    bool m_transferRunning = false;
    bool m_setupOpen = false;
    QPointer<InstrumentTransferWindow> m_thread;
    QFileSystemWatcher* m_deviceWatcher = nullptr;
    QTimer* m_deviceSettle = nullptr;
};
