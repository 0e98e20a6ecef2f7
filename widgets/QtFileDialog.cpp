#include "widgets/QtFileDialog.h"

#include <QFileDialog>

QString QtFileDialog::openFile(QWidget* parent, const QString& title, const QString& folder, const QStringList& filters)
{
    QFileDialog dialog(parent, title, folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
