#include "designer/widgets/ColorSwatch.h"

#include "platform/UserDialogs.h"

#include <QLineEdit>
#include <QMouseEvent>

ColorSwatch::ColorSwatch(TColor color, QWidget* parent) : QFrame(parent), m_color(color)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    SetColor(color);
}

void ColorSwatch::SetColor(TColor color)
{
    m_color = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(color));
    setPalette(p);
}

void ColorSwatch::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

bool ChooseSwatchColor(ColorSwatch& swatch)
{
    QColor color = ToQColor(swatch.Color());
    if (!Dialogs().ChooseColor(color))
        return false;
    swatch.SetColor(FromQColor(color));
    return true;
}

void RefuseInput(QLineEdit* box)
{
    Dialogs().Beep();
    box->setFocus();
    box->selectAll();
}
