#pragma once
// Draws list and tree rows as styled text (quantity symbols with sub- and
// superscripts): the view's own row (background, selection, check box, focus)
// without its text, then the styled text over it, once.

#include <QStyledItemDelegate>

#include <functional>

class StyledTextDelegate : public QStyledItemDelegate
{
public:
    struct Row
    {
        QString Text;
        bool Bold = false;
        int Indent = 0; // pixels from where the view would start the row's text
    };
    // Returns false for rows the view draws itself.
    using RowText = std::function<bool(const QModelIndex& index, Row& row)>;

    // Without rowText every row is its own display text, not bold.
    StyledTextDelegate(RowText rowText, int tabPosition, QObject* parent, int rowHeight = 0);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    RowText m_rowText;
    int m_tabPosition;
    int m_rowHeight; // 0: the view's own height
};
