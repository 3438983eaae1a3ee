#pragma once
// The program's pictures: the desktop theme's icon where there is one, else one bundled with
// the program (src/ui/icons) or the style's own.

#include <QIcon>

enum class IconId { New, Save, Delete, Cancel, Print, Close, Today, ClearSearch, First, Prior, Next, Last, Ok, Key, Open,
                    Find, ZoomIn, ZoomOut, FullScreen, Outline, Thumbnails };

QIcon kalpiyonIcon(IconId id);
