#include "Icons.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {
// Pictures that the platform style has no counterpart for, drawn at 16 x 16.
QIcon drawnIcon(IconId id)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(32, 64, 128);
    p.setPen(QPen(ink, 1.5));
    auto magnifier = [&] {
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
        p.setPen(QPen(ink, 1.5));
    };
    switch (id) {
    case IconId::Find: magnifier(); break;
    case IconId::Print:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        break;
    case IconId::ZoomIn:
        magnifier();
        p.drawLine(QPointF(4, 6), QPointF(8, 6));
        p.drawLine(QPointF(6, 4), QPointF(6, 8));
        break;
    case IconId::ZoomOut:
        magnifier();
        p.drawLine(QPointF(4, 6), QPointF(8, 6));
        break;
    case IconId::FullScreen:
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.drawLine(QPointF(4, 5), QPointF(12, 11));
        p.drawLine(QPointF(12, 5), QPointF(4, 11));
        break;
    case IconId::Outline:
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(2 + (i % 2) * 4, 3 + i * 3.5), QPointF(14, 3 + i * 3.5));
        break;
    case IconId::Thumbnails:
        p.setBrush(Qt::white);
        for (int i = 0; i < 4; ++i)
            p.drawRect(QRectF(1.5 + (i % 2) * 7, 1.5 + (i / 2) * 7, 5, 6));
        break;
    default: return QIcon();
    }
    return QIcon(pixmap);
}

// A bundled picture at the sizes the windows show (16 on buttons, 32 in dialogs).
QIcon bundledIcon(const char *name)
{
    QIcon icon;
    for (int size : {16, 32})
        icon.addFile(QStringLiteral(":/icons/%1/%2.png").arg(size).arg(QLatin1String(name)), QSize(size, size));
    return icon;
}
}  // namespace

QIcon kalpiyonIcon(IconId id)
{
    struct Drawn {
        IconId id;
        const char *theme;
    };
    static const Drawn drawn[] = {{IconId::Print, "document-print"}, {IconId::Find, "edit-find"}, {IconId::ZoomIn, "zoom-in"}, {IconId::ZoomOut, "zoom-out"},
                                  {IconId::FullScreen, "view-fullscreen"}, {IconId::Outline, "view-list-tree"},
                                  {IconId::Thumbnails, "view-preview"}};
    for (const Drawn &d : drawn)
        if (d.id == id)
            return QIcon::fromTheme(QLatin1String(d.theme), drawnIcon(id));
    // The style has nothing fitting for these (its stand-ins were an "i" and a question mark).
    struct Bundled {
        IconId id;
        const char *theme;
        const char *file;
    };
    static const Bundled bundled[] = {{IconId::Today, "x-office-calendar", "today"}, {IconId::Key, "dialog-password", "key"}};
    for (const Bundled &b : bundled)
        if (b.id == id)
            return QIcon::fromTheme(QLatin1String(b.theme), bundledIcon(b.file));
    struct Entry {
        IconId id;
        const char *theme;
        QStyle::StandardPixmap fallback;
    };
    static const Entry table[] = {
        {IconId::New, "document-new", QStyle::SP_FileIcon},
        {IconId::Save, "document-save", QStyle::SP_DialogSaveButton},
        {IconId::Delete, "edit-delete", QStyle::SP_TrashIcon},
        {IconId::Cancel, "edit-undo", QStyle::SP_DialogCancelButton},
        {IconId::Close, "application-exit", QStyle::SP_DialogCloseButton},
        {IconId::ClearSearch, "edit-clear", QStyle::SP_LineEditClearButton},
        {IconId::First, "go-first", QStyle::SP_MediaSkipBackward},
        {IconId::Prior, "go-previous", QStyle::SP_ArrowLeft},
        {IconId::Next, "go-next", QStyle::SP_ArrowRight},
        {IconId::Last, "go-last", QStyle::SP_MediaSkipForward},
        {IconId::Ok, "dialog-ok", QStyle::SP_DialogOkButton},
        {IconId::Open, "document-open", QStyle::SP_DialogOpenButton},
    };
    for (const Entry &e : table)
        if (e.id == id)
            return QIcon::fromTheme(QLatin1String(e.theme), QApplication::style()->standardIcon(e.fallback));
    return QIcon();
}
