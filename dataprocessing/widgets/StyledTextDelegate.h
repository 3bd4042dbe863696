#pragma once
// Draws the rows of the data tree and the settings list as styled text
// (quantity symbols with sub- and superscripts) over the view's own row.

#include <QStyledItemDelegate>

#include <functional>

class StyledTextDelegate : public QStyledItemDelegate
{
public:
    struct Row
    {
        QString Text;
        bool Bold = false;
        int Indent = 0; // pixels from the row's left edge
    };
    // Returns false for rows the view draws itself.
    using RowText = std::function<bool(const QModelIndex& index, Row& row)>;

    StyledTextDelegate(RowText rowText, int tabPosition, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    RowText m_rowText;
    int m_tabPosition;
};
