#include "WKRN/app/WKRN_Icons.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/sheet/WKRN_CommandTable.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: a program that links it without naming them (a test)
// would otherwise drop them. Outside any namespace, as the macro requires.
static void EnsureResources()
{
    static const bool initialised = []
    {
        Q_INIT_RESOURCE(wkrn_resources);
        return true;
    }();
    (void)initialised;
}

namespace
{
struct NamedPicture
{
    int id;
    const char* themeName; // the file name in the hicolor theme, without ".svg"
};

// Resource ids and the names under which the pictures are installed into the icon theme.
constexpr NamedPicture kPictures[] = {
    {IDR_MAINFRAME, "quorkrn"},
    {ID_FILE_OPEN_PREVIEW, "quorkrn-open-preview"},
    {ID_FILE_ADD_PREVIEW, "quorkrn-add-preview"},
    {ID_FILE_JOB_BROWSER, "quorkrn-job-browser"},
    {ID_ZOOM_IN, "quorkrn-zoom-in"},
    {ID_ZOOM_OUT, "quorkrn-zoom-out"},
    {ID_ZOOM_FIT, "quorkrn-fit"},
    {ID_SHEET_SHOW_IMPOSITION, "quorkrn-show-imposition"},
    {ID_SHEET_PRESS_SHEET_EDGE, "quorkrn-press-sheet-edge"},
    {ID_SHEET_BLEED_EDGE, "quorkrn-bleed-edge"},
    {ID_SHEET_PAGE_EDGE, "quorkrn-page-edge"},
    {ID_SHEET_PAGE_NUMBERS, "quorkrn-page-numbers"},
    {ID_TOOL_PAN, "quorkrn-pan"},
    {ID_TOOL_MEASURE, "quorkrn-measure"},
    {ID_TOOL_ZOOM, "quorkrn-zoom-tool"},
    {ID_TOOL_DENSITOMETER, "quorkrn-densitometer"},
    {IDI_WORKSTYLE_OTHER, "quorkrn-workstyle-other"},
    {IDI_WORKSTYLE_1, "quorkrn-workstyle-sheetwise"},
    {IDI_WORKSTYLE_2, "quorkrn-workstyle-perfector"},
    {IDI_WORKSTYLE_3, "quorkrn-workstyle-work-and-turn"},
    {IDI_WORKSTYLE_4, "quorkrn-workstyle-work-and-tumble"},
    {234, "quorkrn-sheet"},
    {235, "quorkrn-imposition"},
    {236, "quorkrn-separation"},
    {237, "quorkrn-signature"},
    {238, "quorkrn-surface"},
};

QString ResourcePath(int id)
{
    return QStringLiteral(":/WKRN/icons/%1.svg").arg(id);
}

bool Known(int id)
{
    for (const NamedPicture& p : kPictures)
        if (p.id == id)
            return true;
    return false;
}

// The bundled picture at the sizes the viewer shows it, drawn by the SVG renderer itself so that
// no image plugin has to be present at run time.
QIcon Bundled(int id)
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128})
    {
        const QPixmap pixmap = WKRN_Icons::Render(id, size);
        if (pixmap.isNull())
            return {};
        icon.addPixmap(pixmap);
    }
    return icon;
}
} // namespace

QString WKRN_Icons::ThemeName(int resourceId)
{
    for (const NamedPicture& p : kPictures)
        if (p.id == resourceId)
            return QString::fromLatin1(p.themeName);
    return {};
}

QPixmap WKRN_Icons::Render(int resourceId, int size)
{
    if (!Known(resourceId) || size <= 0)
        return {};
    EnsureResources();
    QSvgRenderer renderer(ResourcePath(resourceId));
    if (!renderer.isValid())
        return {};
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon WKRN_Icons::Picture(int resourceId)
{
    if (!Known(resourceId))
        return {};
    return QIcon::fromTheme(ThemeName(resourceId), Bundled(resourceId));
}

QPixmap WKRN_Icons::OwnCommandPicture(int commandId)
{
    return Render(commandId, 16);
}

QIcon WKRN_Icons::Command(int commandId)
{
    const WKRN_CommandInfo* info = WKRN_CommandTable::Find(commandId);
    const QIcon own = Picture(commandId);
    if (info != nullptr && info->themeIcon[0] != '\0')
        return QIcon::fromTheme(QString::fromLatin1(info->themeIcon), own);
    return own;
}

QIcon WKRN_Icons::Program()
{
    // The bundled picture, not the theme's: the installed theme copy is the same picture, and a
    // build tree has none.
    return Bundled(IDR_MAINFRAME);
}

int WKRN_Icons::WorkStyleIconId(int workStyle)
{
    if (workStyle >= 1 && workStyle <= 4)
        return IDI_WORKSTYLE_1 + (workStyle - 1);
    return IDI_WORKSTYLE_OTHER;
}

QPixmap WKRN_Icons::WorkStyle(int workStyle)
{
    return Render(WorkStyleIconId(workStyle), 16);
}
