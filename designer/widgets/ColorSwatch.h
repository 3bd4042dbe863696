#pragma once
// Small pieces the designer's dialogs and panels share: a colour swatch the
// user clicks to choose a colour, and the refusal of a bad number box.

#include "platform/Canvas.h"

#include <QFrame>

class QLineEdit;

class ColorSwatch : public QFrame
{
    Q_OBJECT

public:
    explicit ColorSwatch(TColor color, QWidget* parent = nullptr);

    TColor Color() const { return m_color; }
    // Shows the colour; emits nothing.
    void SetColor(TColor color);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    TColor m_color;
};

// Runs the colour dialog from the swatch's colour; on OK the swatch takes the
// chosen colour and true is returned.
bool ChooseSwatchColor(ColorSwatch& swatch);

// A box whose text was refused: beep, focus, whole text selected.
void RefuseInput(QLineEdit* box);
