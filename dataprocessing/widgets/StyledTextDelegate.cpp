#include "dataprocessing/widgets/StyledTextDelegate.h"

#include "documents/StyledText.h"
#include "platform/Canvas.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

StyledTextDelegate::StyledTextDelegate(RowText rowText, int tabPosition, QObject* parent)
    : QStyledItemDelegate(parent), m_rowText(std::move(rowText)), m_tabPosition(tabPosition)
{
}

void StyledTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    Row row;
    if (!m_rowText(index, row)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The view's row without the item's own text: it is taken from the
    // index when the option is filled in, and would show beside (or under
    // an image over) the styled text.
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.text.clear();
    plain.features &= ~QStyleOptionViewItem::HasDisplay;
    const QWidget* view = plain.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, view);
    const QRect r = option.rect;
    PainterCanvas canvas(*painter);
    DrawStyledText(canvas, QByteArrayLiteral("Arial"), TRect{r.left() + row.Indent, r.top(), r.right(), r.bottom()},
                   row.Text, m_tabPosition, row.Bold);
}
