#include "WKRN/coverage/WKRN_InkZonesDialog.h"

#include "IMPN/IMPN_CoverageReport.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/coverage/WKRN_CoverageWorker.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace
{
// Room around a chart's plot: the coverage axis with its title on the left, a little on the right.
constexpr int kChartMargins = 110;
} // namespace

WKRN_InkZonesDialog::WKRN_InkZonesDialog(WKRN_CoverageWorker& worker, std::vector<QString> inkNames,
                                         std::vector<QColor> inkColours, double xResolution,
                                         QWidget* parent)
    : QDialog(parent), m_Worker(worker), m_Names(std::move(inkNames)),
      m_Colours(std::move(inkColours)),
      m_XResolution(std::isfinite(xResolution) && xResolution > 0 ? xResolution : 0)
{
    setObjectName(QStringLiteral("WKRN_InkZonesDialog"));
    setWindowTitle(WKRN_StringTable::Load(IDS_INK_ZONES_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* settings = new QHBoxLayout;
    auto* form = new QFormLayout;
    m_Zones = new QSpinBox(this);
    m_Zones->setRange(1, kMaxZones);
    m_Zones->setValue(kDefaultZones);
    form->addRow(WKRN_StringTable::Load(IDS_INK_ZONES_COUNT), m_Zones);
    m_Width = new QDoubleSpinBox(this);
    m_Width->setSuffix(QStringLiteral(" mm"));
    m_Width->setDecimals(2);
    const double widthMm = PictureWidthMillimetres();
    m_Width->setRange(widthMm > 0 ? widthMm / kMaxZones : 0, widthMm > 0 ? widthMm : 0);
    m_Width->setEnabled(widthMm > 0);
    m_Width->setValue(widthMm / kDefaultZones);
    form->addRow(WKRN_StringTable::Load(IDS_INK_ZONES_WIDTH), m_Width);
    settings->addLayout(form);
    settings->addStretch();
    m_Export = new QPushButton(WKRN_StringTable::Load(IDS_INK_ZONES_EXPORT), this);
    m_Export->setEnabled(false);
    settings->addWidget(m_Export, 0, Qt::AlignBottom);
    layout->addLayout(settings);

    m_Progress = new QProgressBar(this);
    m_Progress->setRange(0, 1000);
    m_Progress->setFormat(WKRN_StringTable::Load(IDS_INK_ZONES_COUNTING) + QStringLiteral(" %p%"));
    layout->addWidget(m_Progress);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* charts = new QWidget(scroll);
    m_Charts = new QVBoxLayout(charts);
    scroll->setWidget(charts);
    layout->addWidget(scroll, 1);
    resize(1150, 600); // 32 zones, the common count, without scrolling

    // Typing a count recounts once the typing stops.
    m_Recount = new QTimer(this);
    m_Recount->setSingleShot(true);
    m_Recount->setInterval(400);
    connect(m_Recount, &QTimer::timeout, this, &WKRN_InkZonesDialog::Count);
    connect(m_Zones, &QSpinBox::valueChanged, this,
            [this](int zones)
            {
                const double mm = PictureWidthMillimetres();
                if (mm > 0)
                {
                    const QSignalBlocker block(m_Width);
                    m_Width->setValue(mm / zones);
                }
                m_Recount->start();
            });
    connect(m_Width, &QDoubleSpinBox::valueChanged, this, &WKRN_InkZonesDialog::ZoneWidthEdited);
    connect(m_Export, &QPushButton::clicked, this, &WKRN_InkZonesDialog::ChooseExportFile);
    // A count that fails says why where its progress was shown.
    connect(&m_Worker, &WKRN_CoverageWorker::Failed, this,
            [this](int lane, const QString& what)
            {
                if (lane != WKRN_CoverageWorker::ZonesLane)
                    return;
                m_Progress->setValue(0);
                m_Progress->setFormat(WKRN_StringTable::Load(IDS_INK_ZONES_FAILED).arg(what));
            });
}

WKRN_InkZonesDialog::~WKRN_InkZonesDialog()
{
    m_Worker.Cancel(WKRN_CoverageWorker::ZonesLane);
}

double WKRN_InkZonesDialog::PictureWidthMillimetres() const
{
    return m_XResolution > 0 ? m_Worker.ImageWidth() / m_XResolution * 25.4 : 0.0;
}

void WKRN_InkZonesDialog::ZoneWidthEdited(double millimetres)
{
    const double mm = PictureWidthMillimetres();
    if (mm <= 0 || millimetres <= 0)
        return;
    const int zones = std::clamp(int(std::lround(mm / millimetres)), 1, kMaxZones);
    const QSignalBlocker block(m_Zones);
    m_Zones->setValue(zones);
    m_Recount->start();
}

void WKRN_InkZonesDialog::SetZoneCount(int zones)
{
    m_Zones->setValue(std::clamp(zones, 1, kMaxZones));
}

int WKRN_InkZonesDialog::ZoneCount() const
{
    return m_Zones->value();
}

void WKRN_InkZonesDialog::Count()
{
    m_Recount->stop();
    const std::uint32_t zones = std::uint32_t(m_Zones->value());
    m_Progress->setFormat(WKRN_StringTable::Load(IDS_INK_ZONES_COUNTING) + QStringLiteral(" %p%"));
    m_Progress->setValue(0);
    m_Progress->show();
    m_Export->setEnabled(false);
    m_Worker.Submit(
        WKRN_CoverageWorker::ZonesLane,
        [this, zones](IMPN_InkCoverage& counter, const WKRN_CoverageWorker::Context& context)
        {
            IMPN_Rect whole;
            whole.width = std::int32_t(counter.GetImageWidth());
            whole.height = std::int32_t(counter.GetImageLength());
            int shown = -1;
            IMPN_InkCoverageCounts counts;
            const bool done = counter.CountColumns(
                whole, zones, counts,
                [&](std::uint64_t tiles, std::uint64_t total)
                {
                    const int permille = int(tiles * 1000 / std::max<std::uint64_t>(total, 1));
                    if (permille / 10 != shown / 10)
                    {
                        shown = permille;
                        context.Deliver([this, permille] { m_Progress->setValue(permille); });
                    }
                    return !context.Stopped();
                });
            if (done)
                context.Deliver(
                    [this, counts = std::move(counts)]() mutable
                    {
                        m_Profile = std::move(counts);
                        ShowProfile();
                        emit Counted();
                    });
        });
}

void WKRN_InkZonesDialog::ShowProfile()
{
    m_Progress->setValue(m_Progress->maximum());
    m_Progress->hide();
    while (QLayoutItem* item = m_Charts->takeAt(0))
    {
        delete item->widget();
        delete item;
    }
    if (!m_Profile)
        return;
    const IMPN_InkCoverageCounts& counts = *m_Profile;
    QStringList categories;
    for (std::size_t z = 0; z < counts.Columns(); ++z)
        categories << QString::number(z + 1);
    for (std::size_t k = 0; k < m_Names.size() && k < counts.inked.size(); ++k)
    {
        auto* set = new QBarSet(m_Names[k]);
        if (k < m_Colours.size() && m_Colours[k].isValid())
        {
            set->setColor(m_Colours[k]);
            set->setBorderColor(m_Colours[k].darker(140));
        }
        for (std::size_t z = 0; z < counts.Columns(); ++z)
            *set << counts.CellPercent(k, 0, z);
        auto* series = new QBarSeries;
        series->append(set);
        auto* chart = new QChart;
        chart->addSeries(series);
        chart->setTitle(
            QStringLiteral("%1 \u2014 %2 %").arg(m_Names[k]).arg(counts.AreaPercent(k), 0, 'f', 2));
        chart->legend()->hide();
        auto* zonesAxis = new QBarCategoryAxis;
        zonesAxis->append(categories);
        zonesAxis->setTitleText(WKRN_StringTable::Load(IDS_INK_ZONES_ZONE));
        // The charts scroll sideways rather than let the zone numbers be elided (an operator
        // presets ink keys by zone number); the axis elides a number unless its zone is about
        // two digits wider than the number.
        const int zoneWidth =
            QFontMetrics(zonesAxis->labelsFont())
                .horizontalAdvance(QString::number(counts.Columns()) + QStringLiteral("00"));
        chart->addAxis(zonesAxis, Qt::AlignBottom);
        series->attachAxis(zonesAxis);
        auto* coverageAxis = new QValueAxis;
        coverageAxis->setRange(0, 100);
        coverageAxis->setTitleText(WKRN_StringTable::Load(IDS_INK_ZONES_COVERAGE));
        chart->addAxis(coverageAxis, Qt::AlignLeft);
        series->attachAxis(coverageAxis);
        auto* view = new QChartView(chart);
        view->setMinimumHeight(220);
        view->setMinimumWidth(kChartMargins + zoneWidth * int(counts.Columns()));
        m_Charts->addWidget(view);
    }
    m_Export->setEnabled(true);
}

bool WKRN_InkZonesDialog::ExportTo(const QString& path) const
{
    if (!m_Profile)
        return false;
    std::vector<std::string> names;
    for (const QString& name : m_Names)
        names.push_back(name.toStdString());
    const std::string text = IMPN_CoverageReport::Write(names, *m_Profile, true, true);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text.data(), qint64(text.size())) != qint64(text.size()))
    {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void WKRN_InkZonesDialog::ChooseExportFile()
{
    const QString path =
        QFileDialog::getSaveFileName(this, WKRN_StringTable::Load(IDS_INK_ZONES_EXPORT), QString(),
                                     WKRN_StringTable::Load(IDS_INK_ZONES_CSV_FILTER));
    if (path.isEmpty())
        return;
    if (!ExportTo(path))
        QMessageBox::warning(this,
                             WKRN_StringTable::Load(IDS_CAPTION_PREFIX) +
                                 WKRN_StringTable::Load(IDS_INK_ZONES_TITLE),
                             WKRN_StringTable::Load(IDS_INK_ZONES_WRITE_FAILED).arg(path));
}
