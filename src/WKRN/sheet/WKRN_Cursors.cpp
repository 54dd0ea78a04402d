#include "WKRN/sheet/WKRN_Cursors.h"

#include <QPixmap>

#include <map>

// The pictures are XPM, which is C: they are compiled in rather than looked up at run time.
#include "../../data/cursors/1003.xpm"
#include "../../data/cursors/104.xpm"
#include "../../data/cursors/106.xpm"
#include "../../data/cursors/215.xpm"
#include "../../data/cursors/216.xpm"
#include "../../data/cursors/217.xpm"
#include "../../data/cursors/2301.xpm"

namespace
{
struct CursorPicture
{
    int id;
    const char* const* xpm;
    int hotX;
    int hotY;
};

// Hot spots: the middle of the hand, the centre of the lens, the crossing of the hairs, the
// centre of the aperture.
const CursorPicture kPictures[] = {
    {WKRN_Cursors::Pan, cursor_104_xpm, 15, 15},
    {WKRN_Cursors::ZoomIn, cursor_106_xpm, 12, 12},
    {WKRN_Cursors::ZoomOut, cursor_215_xpm, 12, 12},
    {WKRN_Cursors::ZoomNone, cursor_216_xpm, 12, 12},
    {WKRN_Cursors::PanDrag, cursor_217_xpm, 15, 18},
    {WKRN_Cursors::Measure, cursor_1003_xpm, 15, 15},
    {WKRN_Cursors::Densitometer, cursor_2301_xpm, 15, 15},
};
} // namespace

const QCursor& WKRN_Cursors::Get(int id)
{
    static const std::map<int, QCursor> cursors = []
    {
        std::map<int, QCursor> made;
        for (const CursorPicture& picture : kPictures)
            made.emplace(picture.id, QCursor(QPixmap(picture.xpm), picture.hotX, picture.hotY));
        return made;
    }();
    static const QCursor arrow(Qt::ArrowCursor);
    const auto found = cursors.find(id);
    return found != cursors.end() ? found->second : arrow;
}
