#pragma once
// The revision list window, the program's main window: the records in a
// table view over the list's model, sorting by a caption click, editing in
// place with an empty last line for a new record, filters, the list
// document and its exports, the folder scan, list printing and the upload
// of records to an instrument. Other windows find records here through
// RecordLookup, and every document is opened here by its type.

#include "dataprocessing/RecordLookup.h"
#include "instruments/TransferResult.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class InstrumentDatabase;
class PrintJob;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTableView;
class QToolBar;
class QToolButton;
class RevisionTableModel;
class TForm8;
class TForm13;
class TForm15;

class TForm7 : public QMainWindow, public RecordLookup
{
    Q_OBJECT

public:
    // What the window reaches in other windows; start-up connects them. A
    // hook left empty does nothing (a close query answers yes, a setting
    // reads as unchecked, no port is chosen).
    struct Hooks
    {
        std::function<void()> ShowDataProcessing;
        std::function<void()> ShowDesigner;
        std::function<void()> ShowSettings;
        // Forms, label forms and data (older forms too) open in the data
        // processing window at a page (from 0); templates in the designer.
        std::function<void(const QString& path, int page)> OpenForm;
        std::function<void(const QString& path)> OpenData;
        std::function<void(const QString& path)> OpenTemplate;
        std::function<bool()> DesignerCloseQuery;
        std::function<bool()> DataProcessingCloseQuery;
        // Ends the program once every window has answered its save question
        // (empty: the application is asked to quit).
        std::function<void()> EndProgram;
        // The settings dialog's "Erase cell if field is blank".
        std::function<bool()> EraseCell;
        // The port chosen in the data processing window; empty when none.
        std::function<QString()> PortName;
        // The upload starts (false) or has ended (true): the data processing
        // window's transfer commands follow.
        std::function<void(bool enabled)> EnableTransferButtons;
        // A transfer of the data processing window holds the instrument.
        std::function<bool()> TransferRunning;
        // Runs a print job through the print dialog; returns when it ended.
        std::function<void(std::unique_ptr<PrintJob> job)> Print;
    };

    explicit TForm7(QWidget* parent = nullptr); // FormCreate
    ~TForm7() override;                         // FormDestroy

    void SetHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    // Captions, the window title and the column captions in the current language.
    void ApplyLanguage();
    RevisionTableModel& Model() { return *m_model; }
    TForm8& SetupDialog() { return *m_setup; }
    TForm13& TextFilterDialog() { return *m_textFilter; }
    TForm15& DateFilterDialog() { return *m_dateFilter; }
    InstrumentDatabase& UploadRecords() { return *m_upload; }
    bool IsUploadRunning() const { return m_uploadRunning; }

    // --- RecordLookup
    QStringList ListRowIds() const override;
    const RevisionTableRow* FindRowById(const QString& id) const override;

    // Opens any document by its type: forms, label forms and data in the
    // data processing window, templates in the designer, lists here. False
    // (with a message) when the file cannot be opened or is no document.
    bool OpenDocument(const QString& path);
    // Save and Save as; false when cancelled or not written.
    bool SaveList();
    bool SaveListAs();
    // The save question; false when the command is to be abandoned.
    bool SaveQuestion();
    bool FormCloseQuery();
    void SetIconBarVisible(bool visible);

    QTableView* DrawGrid1;
    QToolBar* ControlBar1;
    QLabel* StatusBar1;
    QMenu* PopupMenu1;
    QToolButton* SpeedButton4; // Load revision list
    QToolButton* SpeedButton5; // Stop
    QToolButton* SpeedButton9; // Upload

    QAction *New1, *Open1, *Save1, *SaveAs1, *LoadRevisionList1, *Setup1, *OpenText1, *SaveText1, *SaveXml1,
        *Print1, *Exit1, *Transfer1, *Designer1, *Settings1, *Version1, *Stop1, *Upload1;
    QAction *AllFiles1, *InvalidFiles1, *Week1, *TwoWeeks1, *Month1, *TwoMonths1, *ThreeMonths1, *NewFiles1,
        *DuplicateLine1;

public slots:
    void New1Click();
    void Open1Click();
    void Save1Click() { SaveList(); }
    void SaveAs1Click() { SaveListAs(); }
    void LoadRevisionList1Click();
    void Stop1Click();
    void Setup1Click();
    void OpenText1Click();
    void SaveText1Click();
    void SaveXml1Click();
    void Print1Click();
    void Exit1Click();
    void Version1Click();
    void SpeedButton9Click(); // upload
    void DuplicateLine1Click();
    // A caption double click: the text filter, or the date filter on the
    // Next revision column.
    void FilterByColumn(int column);
    void DeleteSelectedRows();
    // A record's double click opens its form at its page.
    void OpenRecord(int row);

signals:
    // The scan has ended and its records are in the list.
    void ScanFinished();
    // The upload has ended (the buttons are enabled again).
    void UploadFinished();

public:
    // Wide enough for every visible column.
    QSize sizeHint() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void SetCaption();
    void ShowGridFromList();
    // Widens the sort column where its mark and whole caption would not fit.
    void FitSortColumn();
    // Widens the row numbers' column where the last number and its validity
    // mark would not fit.
    void FitRowNumbers();
    void ScanSettingsToList();
    void ScanSettingsFromList();
    void OnScanDone();
    void OnUploadDone(TransferResult result);
    void FilterByDays(int days);
    // While a scan runs the list must keep its records: the command is
    // refused with a message.
    bool RefusedWhileScanning();
    int Ask(int textId, bool withCancel);

    Hooks m_hooks;
    RevisionTableModel* m_model;
    TForm8* m_setup;
    TForm13* m_textFilter;
    TForm15* m_dateFilter;
    QActionGroup* m_filters;
    std::unique_ptr<InstrumentDatabase> m_upload;
    bool m_uploadRunning = false;
};
