#pragma once
// The program settings dialog. Its controls are the settings: they are read
// from the registry when the dialog is created at start-up, every window
// reads the control it needs whenever it needs it (through Instance()), and
// the values go back to the registry when the dialog is destroyed at exit.

#include <QDialog>

#include "revisionlist/ProgramSettings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm11 : public QDialog
{
    Q_OBJECT

public:
    // Reads the registry into the controls (FormCreate). The first dialog
    // created becomes Instance() until it is destroyed.
    explicit TForm11(QWidget* parent = nullptr);
    // Writes the controls to the registry (FormDestroy).
    ~TForm11() override;

    // The program's settings dialog; null before start-up has created it.
    static TForm11* Instance();

    // The controls' values, and putting values into the controls.
    ProgramSettings Settings() const;
    void ShowSettings(const ProgramSettings& settings);

    // Emits the three icon-bar signals from the check boxes (at creation,
    // when the dialog closes, and once by start-up after it has connected them).
    void ApplyIconBars();

    QGroupBox* GroupBox1; // "Template designer"
    QGroupBox* GroupBox2; // "Revision list"
    QGroupBox* GroupBox3; // "Data processing"
    QCheckBox* CheckBox1; // "Show field number"
    QCheckBox* CheckBox2; // "Erase cell if field is blank"
    QCheckBox* CheckBox3; // designer: "Show icon bar"
    QCheckBox* CheckBox4; // revision list: "Show icon bar"
    QCheckBox* CheckBox5; // data processing: "Show icon bar"
    QCheckBox* CheckBox6; // "Automatic filling"
    QCheckBox* CheckBox7; // "Group same number folders"
    QCheckBox* CheckBox8; // "Create backup file"
    QLabel* Label1;       // "Default grid [mm]"
    QLineEdit* Edit1;     // the grid in millimetres, as typed
    QLabel* Label2;       // "Language"
    QComboBox* ComboBox1; // language 0 English, 1 Czech
    QPushButton* Button1; // OK
    QPushButton* Button2; // Cancel

signals:
    // Hooks for the windows whose icon bars follow the settings.
    void DesignerIconBarChanged(bool visible);
    void RevisionListIconBarChanged(bool visible);
    void DataProcessingIconBarChanged(bool visible);
    // The language was changed (already current): start-up re-captions
    // every window.
    void LanguageChanged();

public slots:
    void Button2Click();
    void ComboBox1Change(int index);
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override; // FormShow

private:
    void FormClose();

    // What Cancel restores: the check boxes and the grid text as shown.
    ProgramSettings m_snapshot;
};
