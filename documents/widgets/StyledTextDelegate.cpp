#include "documents/widgets/StyledTextDelegate.h"

#include "documents/StyledText.h"
#include "platform/Canvas.h"

#include <QApplication>
#include <QPainter>

namespace {
const QByteArray RowFont = QByteArrayLiteral("Arial");
} // namespace

StyledTextDelegate::StyledTextDelegate(RowText rowText, int tabPosition, QObject* parent,
                                       int rowHeight)
    : QStyledItemDelegate(parent)
    , m_rowText(std::move(rowText))
    , m_tabPosition(tabPosition)
    , m_rowHeight(rowHeight)
{}

void StyledTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    Row row;
    if (m_rowText) {
        if (!m_rowText(index, row)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
    } else {
        row.Text = index.data(Qt::DisplayRole).toString();
    }
    // QStyledItemDelegate::paint would take the text from the index again,
    // so the style draws the row itself from an option without text.
    QStyleOptionViewItem bare = option;
    initStyleOption(&bare, index);
    bare.text.clear();
    bare.features &= ~QStyleOptionViewItem::HasDisplay;
    const QWidget* widget = bare.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &bare, painter, widget);

    const bool selected = bare.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(bare.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (bare.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    // The canvas fills behind every piece of text: with the row's own colour
    // so that the selection stays visible under it.
    const QColor background = selected ? bare.palette.color(group, QPalette::Highlight)
                              : bare.backgroundBrush.style() != Qt::NoBrush
                                  ? bare.backgroundBrush.color()
                                  : bare.palette.color(group, QPalette::Base);
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &bare, widget);
    PainterCanvas canvas(*painter);
    canvas.SetTextColor(FromQColor(
        bare.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text)));
    canvas.SetBrushColor(FromQColor(background));
    DrawStyledText(canvas, RowFont,
                   TRect{text.left() + row.Indent, option.rect.top(), option.rect.right() + 1,
                         option.rect.bottom() + 1},
                   row.Text, m_tabPosition, row.Bold);
}

QSize StyledTextDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    const QSize own = QStyledItemDelegate::sizeHint(option, index);
    return m_rowHeight > 0 ? QSize(own.width(), m_rowHeight) : own;
}
