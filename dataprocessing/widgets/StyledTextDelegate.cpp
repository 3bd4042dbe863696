#include "dataprocessing/widgets/StyledTextDelegate.h"

#include "documents/StyledText.h"
#include "platform/Canvas.h"

#include <QPainter>

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
    QStyleOptionViewItem plain = option;
    plain.text.clear();
    QStyledItemDelegate::paint(painter, plain, index);
    const QRect r = option.rect;
    PainterCanvas canvas(*painter);
    DrawStyledText(canvas, QByteArrayLiteral("Arial"), TRect{r.left() + row.Indent, r.top(), r.right(), r.bottom()},
                   row.Text, m_tabPosition, row.Bold);
}
