#pragma once
// The designer's page: paints the current page through the document's
// drawing at the zoom, hands presses, moves and releases to the window, and
// shows a running drag's rectangle over the page. While a drag runs the page
// is painted once into an image and only the strips the rectangle leaves and
// enters are redrawn from it.

#include <QImage>
#include <QWidget>

#include <functional>

class QuillfenDesignerForm;
class TForm2;

class DesignerCanvas : public QWidget
{
    Q_OBJECT

public:
    DesignerCanvas(TForm2* window, QWidget* parent);

    void SetDocument(QuillfenDesignerForm* document) { m_document = document; }
    // The page changed: everything is painted again.
    void Invalidate();
    // The drag's rectangle moved: only the strips it covered and covers.
    void DragMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintPage(QPainter& painter);
    QRegion FocusOutline() const;

    TForm2* m_window;
    QuillfenDesignerForm* m_document = nullptr;
    QImage m_dragCache; // the page while a drag runs; null otherwise
    QRegion m_shownOutline;
};

// The borders widget: the selection's four border widths as bars and
// numbers; a press picks the side under the pointer.
class BordersPreview : public QWidget
{
    Q_OBJECT

public:
    BordersPreview(TForm2* window, QWidget* parent);
    void SetDocument(const QuillfenDesignerForm* document) { m_document = document; }
    // The side of a press at (x, y) in a widget of the size: the diagonals
    // split it into four triangles (1 right, 2 top, 3 bottom, 4 left).
    static int SideAt(int x, int y, int width, int height);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TForm2* m_window;
    const QuillfenDesignerForm* m_document = nullptr;
};
