#include "mainwindow/MainForm.h"

#include "session/AppContext.h"
#include "widgets/PrintSurface.h"

#include <QTimer>

MainForm::MainForm(AppContext& a, QWidget* w)
    : app(a)
    , window(w)
    , engine(a.catalogue())
{
}

bool MainForm::welcomeRunning() const
{
    return Timer2 && Timer2->isActive();
}

void MainForm::printMessage(const QString& text, bool repaintNow)
{
    if (welcomeRunning())
        return;
    pctMsg->cls();
    pctMsg->print(text);
    if (repaintNow)
        pctMsg->repaint();
}
