#pragma once
// The new page dialog: the page size of a new template or label document,
// chosen from a list of paper sizes or typed in millimetres.

#include <QDialog>

#include <array>
#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm1 : public QDialog
{
    Q_OBJECT

public:
    struct PaperSize
    {
        const char* Name;
        int32_t Width;  // tenths of a millimetre
        int32_t Height;
    };
    // A4 is 297.5 mm high in the program's own templates.
    static constexpr std::array<PaperSize, 5> PaperSizes = {{
        {"A3", 2970, 4200},
        {"A4", 2100, 2975},
        {"A5", 1480, 2100},
        {"B4", 2500, 3540},
        {"B5", 1820, 2570},
    }};
    static constexpr int A4Item = 1;

    explicit TForm1(QWidget* parent = nullptr);

    // The accepted size in tenths of a millimetre (valid after OK).
    int32_t PageWidth() const { return m_width; }
    int32_t PageHeight() const { return m_height; }

    QComboBox* ComboBox1;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* Button1;
    QPushButton* Button2;

public slots:
    // The chosen paper's size into the boxes.
    void ComboBox1Click();
    // Both boxes must hold a page side the designer can hold; the first that
    // does not is refused and the dialog stays open.
    void Button1Click();

private:
    int32_t m_width = 0;
    int32_t m_height = 0;
};
