#include "platform/QtBusyPointer.h"

#include <QGuiApplication>
#include <QCursor>

void QtBusyPointer::begin()
{
    if (depth_++ == 0)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void QtBusyPointer::end()
{
    // Unbalanced ends are harmless: the normal pointer simply stays.
    if (depth_ > 0 && --depth_ == 0)
        QGuiApplication::restoreOverrideCursor();
}
