#pragma once
// The instrument settings dialog: reads the settings of the instrument on a
// port, lets the user edit them in a list, resets them to the model's
// defaults and writes them back. One transfer at a time: while one runs the
// buttons and the list are disabled, and the dialog does not close before
// the transfer has stopped.

#include "instruments/InstrumentSetup.h"
#include "instruments/InstrumentTransferWindow.h"
#include "instruments/TransferResult.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class TForm12 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm12(QWidget* parent = nullptr);
    ~TForm12() override;

    // Shows the dialog modally for the port; the modal result.
    int Run(const QString& portName);
    void RebuildList();
    InstrumentSetup& Setup() { return *m_setup; }
    bool IsTransferRunning() const { return m_thread != nullptr; }

    QListWidget* ListBox1;
    QPushButton* Button1; // "Default settings"
    QPushButton* Button2; // "Cancel"
    QPushButton* Button3; // "Setup"
    QLineEdit* Edit1;
    QComboBox* ComboBox1;

public slots:
    void Button1Click();
    void Button3Click();
    void ListBox1DblClick();
    void Edit1KeyDown(int key);
    void ComboBox1Click(int index);
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override; // FormShow
    void hideEvent(QHideEvent* event) override; // FormHide
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Starts one operation unless one runs; the list and buttons wait for it.
    void StartTransfer(int operation, std::function<void(TransferResult)> done);
    void SetBusy(bool busy);
    // The setting of the current row, null for a group row.
    class InstrumentSetupItem* CurrentSetting() const;

    QString m_portName;
    std::unique_ptr<InstrumentSetup> m_setup;
    QPointer<InstrumentTransferWindow> m_thread;
    // "Setup" writes only settings that were read or defaulted.
    bool m_haveSettings = false;
};
