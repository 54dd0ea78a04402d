#pragma once
// Pictures by resource id: toolbar and menu icons of the commands, the program icon and the
// work-style icons of the status bar. The desktop's icon theme is used where it has a fitting
// icon; otherwise the viewer's own 16 x 16 pictures, drawn here so that no image file can be
// missing at run time.

#include <QIcon>
#include <QPixmap>

class WKRN_Icons
{
public:
    // The icon of a command (theme first, own picture second); null when it has none.
    static QIcon Command(int commandId);
    // The viewer's own picture of a command, without the theme.
    static QPixmap OwnCommandPicture(int commandId);
    static QIcon Program();
    // Work-style icon: 221 to 224 for work styles 1 to 4, 220 otherwise.
    static int WorkStyleIconId(int workStyle);
    static QPixmap WorkStyle(int workStyle);
};
