#include "QtBusyPointer.h"

#include <QApplication>
#include <QCursor>

void QtBusyPointer::begin()
{
    if (depth_++ == 0)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void QtBusyPointer::end()
{
    // Unbalanced ends are harmless: the normal pointer simply stays.
    if (depth_ > 0 && --depth_ == 0)
        QApplication::restoreOverrideCursor();
}
