#include "Icons.h"

#include <QApplication>
#include <QStyle>

QIcon kalpiyonIcon(IconId id)
{
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
        {IconId::Print, "document-print", QStyle::SP_FileDialogDetailedView},
        {IconId::Close, "application-exit", QStyle::SP_DialogCloseButton},
        {IconId::Today, "x-office-calendar", QStyle::SP_FileDialogInfoView},
        {IconId::ClearSearch, "edit-clear", QStyle::SP_LineEditClearButton},
        {IconId::First, "go-first", QStyle::SP_MediaSkipBackward},
        {IconId::Prior, "go-previous", QStyle::SP_ArrowLeft},
        {IconId::Next, "go-next", QStyle::SP_ArrowRight},
        {IconId::Last, "go-last", QStyle::SP_MediaSkipForward},
        {IconId::Ok, "dialog-ok", QStyle::SP_DialogOkButton},
        {IconId::Key, "dialog-password", QStyle::SP_MessageBoxQuestion},
        {IconId::Open, "document-open", QStyle::SP_DialogOpenButton},
    };
    for (const Entry &e : table)
        if (e.id == id)
            return QIcon::fromTheme(QLatin1String(e.theme), QApplication::style()->standardIcon(e.fallback));
    return QIcon();
}
