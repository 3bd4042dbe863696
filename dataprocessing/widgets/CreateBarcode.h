#pragma once
// The barcode label wizard: the label's content, size and sheet layout, and
// the list of numbers to print. A thin view of LabelWizardState, which the
// data processing window builds the label sheet from after OK.

#include "dataprocessing/LabelLayout.h"
#include "dataprocessing/LabelWizardState.h"

#include <QDialog>
#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QToolButton;
class RecordLookup;

// The preview box: draws the template, which is kept in its pixels.
class TemplatePreview : public QWidget
{
public:
    TemplatePreview(const LabelWizardState& state, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override; // PaintBox1Paint

private:
    const LabelWizardState& m_state;
};

class TForm9 : public QDialog
{
    Q_OBJECT

public:
    // The preview box's side in pixels; templates are fitted into it.
    static constexpr int PreviewSide = 188;
    static constexpr int MinimumWidth = 715;
    static constexpr int MinimumHeight = 475;
    // The number list shows one column per this many pixels of its width.
    static constexpr int ListColumnWidth = 100;

    explicit TForm9(QWidget* parent = nullptr);
    ~TForm9() override;

    // What the data window hands over before showing and reads after OK.
    LabelWizardState& State() { return m_state; }
    // The data window's barcode command: the document's global texts, page
    // size and label entries handed over and the template fitted into the
    // preview, then shown modally. On OK the sheet's layout, and
    // `labelTemplate` becomes a copy of the wizard's template.
    std::optional<LabelSheetLayout> ShowForSheet(QuillfenTransferForm& form, std::vector<LabelNumber>& numbers,
                                                 std::unique_ptr<AbstractFormObject>& labelTemplate);
    // The revision list whose record IDs "from Table" adds (not owned).
    void SetRecordLookup(const RecordLookup* records) { m_records = records; }

    std::array<QLabel*, 8> Labels{};
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QLineEdit* Edit8;
    QCheckBox* CheckBox1;
    QLineEdit* Edit9;
    QPushButton* Button3;
    QPushButton* Button100;
    QPushButton* Button4;
    QToolButton* SpeedButton1;
    QListView* ListBox1;
    TemplatePreview* PaintBox1;
    QPushButton* Button1;
    QPushButton* Button2;

public slots:
    // Leaving a layout edit: its value checked, clamped or replaced.
    void LayoutEditExit(LayoutValue which);
    void CheckBox1Click();
    // Create: closes with OK when both counts are whole numbers of one or more.
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void Button100Click();
    void SpeedButton1Click();

protected:
    void showEvent(QShowEvent* event) override;                 // FormShow
    bool eventFilter(QObject* watched, QEvent* event) override; // ListBox1KeyDown

private:
    QLineEdit* LayoutEdit(LayoutValue which) const;
    // Puts the state's lengths, counts and Automatic into the controls.
    void ShowLayout();
    void ShowCounts();
    void UpdateCounts();
    // Beeps and selects the edit's text for the user to correct.
    void MarkBadInput(QLineEdit* edit);
    void ShowFileMessage(LabelWizardState::FileImport result, const QString& fileName);

    LabelWizardState m_state;
    const RecordLookup* m_records = nullptr;
};
