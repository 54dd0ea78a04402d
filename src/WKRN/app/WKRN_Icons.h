#pragma once
// Pictures by resource id: toolbar and menu icons of the commands, the program icon, the
// work-style icons of the status bar and the row icons of the job browser. Each is a scalable
// picture in the resources, named by its id (":/WKRN/icons/<id>.svg"), and installed into the
// hicolor icon theme under a name of its own ("quorkrn-zoom-in"), so that an icon theme can
// restyle it. The desktop's theme is asked first: by the freedesktop name of a command where one
// fits, then by the picture's own name; the bundled picture is the last resort and always there.

#include <QIcon>
#include <QPixmap>
#include <QString>

class WKRN_Icons
{
public:
    // The icon of a command (theme first, own picture second); null when it has none.
    static QIcon Command(int commandId);
    // The viewer's own picture of a command at 16 x 16 pixels, without the theme; null when the
    // command has none.
    static QPixmap OwnCommandPicture(int commandId);
    static QIcon Program();
    // Work-style icon: 221 to 224 for work styles 1 to 4, 220 otherwise.
    static int WorkStyleIconId(int workStyle);
    static QPixmap WorkStyle(int workStyle);
    // Any picture by its resource id (program, commands, work styles, job-browser rows: 234
    // sheet, 235 imposition, 236 separation, 237 signature, 238 surface), theme first; null for
    // an id without a picture.
    static QIcon Picture(int resourceId);
    // The name of a picture in the icon theme; empty for an id without a picture.
    static QString ThemeName(int resourceId);
    // The bundled picture drawn at size x size pixels; null for an id without a picture.
    static QPixmap Render(int resourceId, int size);
};
