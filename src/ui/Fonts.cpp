#include "Fonts.h"

#include <QStringList>

namespace ui {

namespace {
QFont windowFace()
{
    QFont font;
    font.setFamilies({QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("Liberation Sans")});
    return font;
}
}  // namespace

QFont windowFont(int pointSize)
{
    QFont font = windowFace();
    font.setPointSize(pointSize);
    return font;
}

QFont menuFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    return font;
}

QFont windowFontOfPixels(int pixels)
{
    QFont font = windowFace();
    font.setPixelSize(pixels);
    return font;
}

}  // namespace ui
