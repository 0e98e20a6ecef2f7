#include "platform/QtBusyPointer.h"

#include <QCursor>
#include <QGuiApplication>

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
