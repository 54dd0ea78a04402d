#include "WKRN/coverage/WKRN_InkZonesDialog.h"

#include "IMPN/IMPN_CoverageReport.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/coverage/WKRN_CoverageTexts.h"
#include "WKRN/coverage/WKRN_CoverageWorker.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
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
// Room above and below the plot, besides the coverage axis's title that runs along it.
constexpr int kChartHeightMargins = 130;
constexpr int kMinChartHeight = 220;

QString RangeText(std::int64_t low, std::int64_t high)
{
    return WKRN_StringTable::Load(IDS_VALUE_RANGE)
        .arg(WKRN_CoverageTexts::Millimetres(low),
             WKRN_CoverageTexts::Millimetres(high) + QStringLiteral(" mm"));
}
} // namespace

WKRN_InkZonesDialog::WKRN_InkZonesDialog(WKRN_CoverageWorker& worker, std::vector<QString> inkNames,
                                         std::vector<QColor> inkColours, double xResolution,
                                         Subject subject, std::vector<WKRN_ZonePreset> presets,
                                         QWidget* parent)
    : QDialog(parent), m_Worker(worker), m_Names(std::move(inkNames)),
      m_Colours(std::move(inkColours)),
      m_XResolution(std::isfinite(xResolution) && xResolution > 0 ? xResolution : 0),
      m_Subject(std::move(subject)), m_Presets(std::move(presets))
{
    setObjectName(QStringLiteral("WKRN_InkZonesDialog"));
    setWindowTitle(WKRN_StringTable::Load(IDS_INK_ZONES_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* settings = new QHBoxLayout;
    auto* form = new QFormLayout;

    m_Preset = new QComboBox(this);
    for (const WKRN_ZonePreset& preset : m_Presets)
        m_Preset->addItem(WKRN_CoverageTexts::PresetName(preset));
    m_Preset->addItem(WKRN_StringTable::Load(IDS_INK_ZONES_OTHER_PRESS));
    form->addRow(WKRN_StringTable::Load(IDS_INK_ZONES_PRESET), m_Preset);

    m_Width = new QDoubleSpinBox(this);
    m_Width->setObjectName(QStringLiteral("ZoneWidth"));
    m_Width->setDecimals(3);
    m_Width->setSuffix(QStringLiteral(" mm"));
    m_Width->setRange(IMPN_InkZones::kMinWidth / 1000.0, IMPN_InkZones::kMaxWidth / 1000.0);
    m_Width->setToolTip(RangeText(IMPN_InkZones::kMinWidth, IMPN_InkZones::kMaxWidth));
    form->addRow(WKRN_StringTable::Load(IDS_INK_ZONES_WIDTH), m_Width);

    m_Zones = new QSpinBox(this);
    m_Zones->setRange(1, int(IMPN_InkZones::kMaxZones));
    m_Zones->setToolTip(WKRN_StringTable::Load(IDS_VALUE_RANGE)
                            .arg(QString::number(1), QString::number(IMPN_InkZones::kMaxZones)));
    m_Span = new QPushButton(WKRN_StringTable::Load(IDS_INK_ZONES_SPAN_PLATE), this);
    auto* count = new QHBoxLayout;
    count->addWidget(m_Zones, 1);
    count->addWidget(m_Span);
    form->addRow(WKRN_StringTable::Load(IDS_INK_ZONES_COUNT), count);

    m_Offset = new QDoubleSpinBox(this);
    m_Offset->setObjectName(QStringLiteral("ZoneOffset"));
    m_Offset->setDecimals(3);
    m_Offset->setSuffix(QStringLiteral(" mm"));
    m_Offset->setRange(-IMPN_InkZones::kMaxOffset / 1000.0, IMPN_InkZones::kMaxOffset / 1000.0);
    m_Offset->setToolTip(RangeText(-IMPN_InkZones::kMaxOffset, IMPN_InkZones::kMaxOffset));
    form->addRow(WKRN_StringTable::Load(IDS_INK_ZONES_OFFSET), m_Offset);

    settings->addLayout(form);
    settings->addStretch();
    m_Export = new QPushButton(WKRN_StringTable::Load(IDS_INK_ZONES_EXPORT), this);
    m_Export->setEnabled(false);
    settings->addWidget(m_Export, 0, Qt::AlignBottom);
    layout->addLayout(settings);

    m_Geometry = new QLabel(this);
    m_Geometry->setWordWrap(true);
    layout->addWidget(m_Geometry);

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
    resize(1150, 640); // 32 zones, the common count, without scrolling

    // The first press, else the common zone width and as many zones as span the plate.
    if (!m_Presets.empty())
        ChoosePreset(0);
    else
    {
        IMPN_InkZones::Geometry geometry;
        geometry.count = std::max<std::uint32_t>(
            1, IMPN_InkZones::FewestZones(geometry.width, m_XResolution, m_Worker.ImageWidth()));
        SetGeometry(geometry);
    }
    const bool placeable = m_XResolution > 0;
    for (QWidget* field :
         std::initializer_list<QWidget*>{m_Preset, m_Width, m_Zones, m_Offset, m_Span})
        field->setEnabled(placeable);
    ShowGeometry();

    // Typing recounts once the typing stops.
    m_Recount = new QTimer(this);
    m_Recount->setSingleShot(true);
    m_Recount->setInterval(400);
    connect(m_Recount, &QTimer::timeout, this, &WKRN_InkZonesDialog::Count);
    connect(m_Preset, &QComboBox::activated, this, &WKRN_InkZonesDialog::ChoosePreset);
    connect(m_Width, &QDoubleSpinBox::valueChanged, this, &WKRN_InkZonesDialog::FieldsEdited);
    connect(m_Zones, &QSpinBox::valueChanged, this, &WKRN_InkZonesDialog::FieldsEdited);
    connect(m_Offset, &QDoubleSpinBox::valueChanged, this, &WKRN_InkZonesDialog::FieldsEdited);
    connect(m_Span, &QPushButton::clicked, this, &WKRN_InkZonesDialog::SpanPlate);
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

IMPN_InkZones::Geometry WKRN_InkZonesDialog::Geometry() const
{
    IMPN_InkZones::Geometry geometry;
    geometry.width = std::int32_t(std::lround(m_Width->value() * 1000.0));
    geometry.count = std::uint32_t(m_Zones->value());
    geometry.offset = std::int32_t(std::lround(m_Offset->value() * 1000.0));
    return geometry;
}

void WKRN_InkZonesDialog::SetGeometry(const IMPN_InkZones::Geometry& geometry)
{
    {
        const QSignalBlocker blockWidth(m_Width), blockZones(m_Zones), blockOffset(m_Offset);
        m_Width->setValue(geometry.width / 1000.0);
        m_Zones->setValue(int(std::min<std::uint32_t>(geometry.count, IMPN_InkZones::kMaxZones)));
        m_Offset->setValue(geometry.offset / 1000.0);
    }
    FieldsEdited();
}

void WKRN_InkZonesDialog::ChoosePreset(int index)
{
    if (index < 0 || std::size_t(index) >= m_Presets.size())
    {
        const QSignalBlocker block(m_Preset);
        m_Preset->setCurrentIndex(m_Preset->count() - 1);
        return;
    }
    const WKRN_ZonePreset& preset = m_Presets[std::size_t(index)];
    IMPN_InkZones::Geometry geometry = Geometry();
    geometry.width = preset.width;
    geometry.count = std::uint32_t(std::max(1, preset.count));
    SetGeometry(geometry);
}

void WKRN_InkZonesDialog::SpanPlate()
{
    IMPN_InkZones::Geometry geometry = Geometry();
    const std::uint32_t fewest =
        IMPN_InkZones::FewestZones(geometry.width, m_XResolution, m_Worker.ImageWidth());
    if (fewest == 0)
        return;
    geometry.count = fewest;
    SetGeometry(geometry);
}

/* The preset shown is the one the fields hold, or "Other press": the list never names a press
   whose grid is not the one counted. */
void WKRN_InkZonesDialog::FieldsEdited()
{
    const IMPN_InkZones::Geometry geometry = Geometry();
    int match = m_Preset->count() - 1;
    for (std::size_t i = 0; i < m_Presets.size(); ++i)
        if (m_Presets[i].width == geometry.width &&
            std::uint32_t(m_Presets[i].count) == geometry.count)
        {
            match = int(i);
            break;
        }
    {
        const QSignalBlocker block(m_Preset);
        m_Preset->setCurrentIndex(match);
    }
    ShowGeometry();
    if (m_Recount)
        m_Recount->start();
}

QString WKRN_InkZonesDialog::GeometryText() const
{
    if (m_XResolution <= 0)
        return WKRN_StringTable::Load(IDS_INK_ZONES_NO_RESOLUTION);
    const IMPN_InkZones::Geometry g = Geometry();
    const std::uint32_t width = m_Worker.ImageWidth();
    const IMPN_InkZones::Layout layout = IMPN_InkZones::Place(
        IMPN_InkZones::ZoneStarts(g, m_XResolution, width), 0, std::int32_t(width));
    const auto first = std::find_if(layout.zoneBand.begin(), layout.zoneBand.end(),
                                    [](const auto& band) { return band.has_value(); });
    const auto last = std::find_if(layout.zoneBand.rbegin(), layout.zoneBand.rend(),
                                   [](const auto& band) { return band.has_value(); });
    const QString plate =
        WKRN_CoverageTexts::Millimetres(std::llround(width / m_XResolution * 25400.0));
    const QString common = QString::number(g.count);
    const QString zoneWidth = WKRN_CoverageTexts::Millimetres(g.width);
    const QString all = WKRN_CoverageTexts::Millimetres(std::int64_t(g.width) * g.count);
    const QString offset = WKRN_CoverageTexts::Millimetres(g.offset);
    if (first == layout.zoneBand.end())
        return WKRN_StringTable::Load(IDS_INK_ZONES_OFF_PLATE)
            .arg(common, zoneWidth, all, offset, plate);
    return WKRN_StringTable::Load(IDS_INK_ZONES_GEOMETRY)
        .arg(common, zoneWidth, all, offset, plate,
             QString::number(first - layout.zoneBand.begin() + 1),
             QString::number(layout.zoneBand.rend() - last));
}

void WKRN_InkZonesDialog::ShowGeometry()
{
    m_Geometry->setText(GeometryText());
}

void WKRN_InkZonesDialog::Count()
{
    m_Recount->stop();
    if (m_XResolution <= 0)
        return;
    const IMPN_InkZones::Geometry geometry = Geometry();
    const std::uint32_t width = m_Worker.ImageWidth();
    IMPN_InkZones::Layout layout = IMPN_InkZones::Place(
        IMPN_InkZones::ZoneStarts(geometry, m_XResolution, width), 0, std::int32_t(width));
    if (layout.edges.size() < 2)
        return;
    // A count that failed before left its reason in the bar.
    m_Progress->setFormat(WKRN_StringTable::Load(IDS_INK_ZONES_COUNTING) + QStringLiteral(" %p%"));
    m_Progress->setValue(0);
    m_Progress->show();
    m_Export->setEnabled(false);
    m_Worker.Submit(
        WKRN_CoverageWorker::ZonesLane,
        [this, geometry, layout = std::move(layout)](IMPN_InkCoverage& counter,
                                                     const WKRN_CoverageWorker::Context& context)
        {
            IMPN_Rect whole;
            whole.width = std::int32_t(counter.GetImageWidth());
            whole.height = std::int32_t(counter.GetImageLength());
            int shown = -1;
            IMPN_InkCoverageCounts counts;
            const bool done = counter.CountGrid(
                whole, layout.edges, {0, whole.height}, counts,
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
                    [this, geometry, bands = layout.zoneBand, counts = std::move(counts)]() mutable
                    {
                        m_Profile = std::move(counts);
                        m_ZoneBands = std::move(bands);
                        m_Counted = geometry;
                        ShowProfile();
                        emit Counted();
                    });
        });
}

std::optional<double> WKRN_InkZonesDialog::ZonePercent(std::size_t ink, std::size_t zone) const
{
    if (!m_Profile || zone >= m_ZoneBands.size() || !m_ZoneBands[zone] ||
        ink >= m_Profile->inked.size() || *m_ZoneBands[zone] >= m_Profile->Columns())
        return std::nullopt;
    return m_Profile->CellPercent(ink, 0, *m_ZoneBands[zone]);
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
    const QLocale locale = WKRN_CoverageTexts::Locale();
    const std::size_t zones = m_ZoneBands.size();
    QStringList categories;
    for (std::size_t z = 0; z < zones; ++z)
        categories << QString::number(z + 1);
    for (std::size_t k = 0; k < m_Names.size() && k < m_Profile->inked.size(); ++k)
    {
        auto* set = new QBarSet(m_Names[k]);
        if (k < m_Colours.size() && m_Colours[k].isValid())
        {
            set->setColor(m_Colours[k]);
            set->setBorderColor(m_Colours[k].darker(140));
        }
        // A zone off the plate has no bar: it has no coverage at all, not 0 %.
        for (std::size_t z = 0; z < zones; ++z)
            *set << ZonePercent(k, z).value_or(0.0);
        auto* series = new QBarSeries;
        series->append(set);
        auto* chart = new QChart;
        chart->setLocalizeNumbers(true);
        chart->setLocale(locale);
        chart->addSeries(series);
        chart->setTitle(
            QStringLiteral("%1 \u2014 %2 %")
                .arg(m_Names[k], WKRN_CoverageTexts::Percent(m_Profile->AreaPercent(k))));
        chart->legend()->hide();
        auto* zonesAxis = new QBarCategoryAxis;
        zonesAxis->append(categories);
        zonesAxis->setTitleText(WKRN_StringTable::Load(IDS_INK_ZONES_ZONE));
        // The charts scroll sideways rather than let the zone numbers be elided (an operator
        // presets ink keys by zone number); the axis elides a number unless its zone is about
        // two digits wider than the number.
        const int zoneWidth = QFontMetrics(zonesAxis->labelsFont())
                                  .horizontalAdvance(QString::number(zones) + QStringLiteral("00"));
        chart->addAxis(zonesAxis, Qt::AlignBottom);
        series->attachAxis(zonesAxis);
        auto* coverageAxis = new QValueAxis;
        coverageAxis->setRange(0, 100);
        coverageAxis->setLabelFormat(QStringLiteral("%.0f"));
        const QString coverageTitle = WKRN_StringTable::Load(IDS_INK_ZONES_COVERAGE);
        coverageAxis->setTitleText(coverageTitle);
        chart->addAxis(coverageAxis, Qt::AlignLeft);
        series->attachAxis(coverageAxis);
        auto* view = new QChartView(chart);
        // The coverage axis's title runs up the plot and is elided where the plot is shorter
        // than the title: the chart is made tall enough for it in every language.
        const int titleLength =
            QFontMetrics(coverageAxis->titleFont()).horizontalAdvance(coverageTitle);
        view->setMinimumHeight(std::max(kMinChartHeight, titleLength + kChartHeightMargins));
        view->setMinimumWidth(kChartMargins + zoneWidth * int(zones));
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
    const std::string text =
        IMPN_CoverageReport::ZoneComment(m_Subject.job.toStdString(), m_Subject.sheet.toStdString(),
                                         m_Subject.back, m_Counted, m_XResolution) +
        IMPN_CoverageReport::WriteZones(names, *m_Profile, m_ZoneBands, true);
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

QString WKRN_InkZonesDialog::SuggestedFileName() const
{
    QString name =
        WKRN_StringTable::Load(IDS_INK_ZONES_FILE_NAME)
            .arg(m_Subject.job.trimmed())
            .arg(m_Subject.signature)
            .arg(m_Subject.web)
            .arg(WKRN_StringTable::Load(m_Subject.back ? IDS_BACK_SHORT : IDS_FRONT_SHORT))
            .simplified();
    // Characters a file name cannot hold here or on the systems the file may travel to.
    for (QChar& c : name)
        if (c < QChar(0x20) || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    return name + QStringLiteral(".csv");
}

QString WKRN_InkZonesDialog::WithCsvExtension(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QStringLiteral(".csv");
}

void WKRN_InkZonesDialog::ChooseExportFile()
{
    QFileDialog chooser(this, WKRN_StringTable::Load(IDS_INK_ZONES_EXPORT),
                        QDir(m_Subject.folder).filePath(SuggestedFileName()),
                        WKRN_StringTable::Load(IDS_INK_ZONES_CSV_FILTER));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    // The file dialog adds it before it asks about replacing a file, where it can.
    chooser.setDefaultSuffix(QStringLiteral("csv"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const QString path = WithCsvExtension(chooser.selectedFiles().constFirst());
    if (!ExportTo(path))
        QMessageBox::warning(this,
                             WKRN_StringTable::Load(IDS_CAPTION_PREFIX) +
                                 WKRN_StringTable::Load(IDS_INK_ZONES_TITLE),
                             WKRN_StringTable::Load(IDS_INK_ZONES_WRITE_FAILED).arg(path));
}
