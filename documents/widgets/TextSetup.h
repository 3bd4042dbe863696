#pragma once
// The text edit dialog: edits the styled text of one field in a rich-edit
// control with buttons for bold, italic, subscript and superscript, for a
// few symbols, the date and the time, and a list of 305 further characters.
//
// Use: SetStyledText(field's text); exec(); on Accepted the field takes
// GetStyledText(). OK refuses a text longer than a field takes (with a
// message), so an accepted text always fits.

#include <QDialog>
#include <QString>

class QListWidget;
class QModelIndex;
class QPushButton;
class QToolButton;
class RichEdit;

class TTextSetup1 : public QDialog
{
    Q_OBJECT

public:
    // The symbol list's characters, in list order.
    static constexpr int SymbolCount = 305;

    explicit TTextSetup1(QWidget* parent = nullptr); // FormCreate
    ~TTextSetup1() override;

    // Loads the styled text (see StyledText.h) into the editor.
    void SetStyledText(const QString& text);
    // The edited text as styled text, whole.
    QString GetStyledText() const;
    // Puts the current language's captions on the dialog.
    void ApplyLanguage();

    RichEdit* RichEdit1;
    QToolButton* SpeedButton1;  // superscript
    QToolButton* SpeedButton2;  // subscript
    QToolButton* SpeedButton3;  // bold
    QToolButton* SpeedButton4;  // italic
    QToolButton* SpeedButton5;  // µ
    QToolButton* SpeedButton6;  // Ω
    QToolButton* SpeedButton7;  // Δ
    QToolButton* SpeedButton8;  // shows the symbol list while down
    QToolButton* SpeedButton9;  // the date
    QToolButton* SpeedButton10; // the time
    QToolButton* SpeedButton12; // <
    QToolButton* SpeedButton13; // >
    QListWidget* ListBox1;      // the symbol list
    QPushButton* Button2;       // OK
    QPushButton* Button1;       // Cancel

public slots:
    void accept() override;
    void RichEdit1SelectionChange();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void ListBox1Click();
    void ListBox1DblClick(const QModelIndex& index);

protected:
    void showEvent(QShowEvent* event) override; // FormShow
    void hideEvent(QHideEvent* event) override; // FormHide

private:
    void InsertCharacter(char16_t unit);
    void TogglePosition(int position);
    void ToggleEffect(int effect);
};
