#include "WKRN/palettes/WKRN_MeasurementPanel.h"

#include <QHBoxLayout>
#include <QLabel>

namespace
{
// Wide enough for the longest of the three labels in the languages the viewer speaks; the value
// takes the rest of the row.
constexpr int kLabelWidth = 112;
constexpr int kMargin = 4;
} // namespace

WKRN_MeasurementPanel::WKRN_MeasurementPanel(const QString& label, QWidget* parent)
    : QWidget(parent), m_label(new QLabel(label, this)), m_value(new QLabel(this))
{
    setFixedSize(kWidth, kHeight);
    m_label->setFixedWidth(kLabelWidth);
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The numbers are for reading off and copying into a job ticket.
    m_value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kMargin, 0, kMargin, 0);
    row->setSpacing(kMargin);
    row->addWidget(m_label);
    row->addWidget(m_value, 1);
}

QString WKRN_MeasurementPanel::Label() const
{
    return m_label->text();
}

QString WKRN_MeasurementPanel::Value() const
{
    return m_value->text();
}

void WKRN_MeasurementPanel::SetValue(const QString& value)
{
    m_value->setText(value);
}
