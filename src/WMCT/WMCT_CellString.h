#pragma once
// A cell that shows a text, centred vertically, ending with an ellipsis when it does not fit.

#include "WMCT/WMCT_CellBase.h"

#include <Qt>

class WMCT_CellString : public WMCT_CellBase
{
public:
    WMCT_CellString() = default;
    std::unique_ptr<WMCT_CellBase> Clone() const override;
    void Draw(QPainter& painter, const QRect& rect, const QPalette& palette) const override;
    void SetText(const std::wstring& text) override;
    std::wstring Text() const override { return m_text; }

    // How the text is cut when it is wider than the cell.
    Qt::TextElideMode GetElideMode() const { return m_elide; }
    void SetElideMode(Qt::TextElideMode mode) { m_elide = mode; }

protected:
    WMCT_CellString(const WMCT_CellString&) = default;

private:
    std::wstring m_text;
    Qt::TextElideMode m_elide = Qt::ElideRight;
};
